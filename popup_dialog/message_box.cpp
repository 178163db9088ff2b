#include "popup_dialog/message_box.h"

#include <memory>

#include "popup_dialog/label2.h"
#include "ui_toolkit/dialog_runner.h"

namespace popup_dialog {
namespace {

using ui_toolkit::CControlUI;
using ui_toolkit::ControlKind;
using ui_toolkit::PackageSource;
using ui_toolkit::Rect;

constexpr wchar_t kWindowClass[] = L"VistromaMessageBox";
constexpr int kButtonFont = 3;
constexpr ui_toolkit::Argb kGreyText = 0xFF888888;
constexpr ui_toolkit::Argb kOrangeButtonText = 0xFFFFFFFF;

PackageSource SourceFor(bool embedded) { return embedded ? PackageSource::kEmbedded : PackageSource::kResourcePackage; }

// "msgbox.xml" paints its background from a picture; the plain white "msgbox1.xml" stands in when an
// archive lacks it.
std::wstring LayoutFor(bool embedded) {
  return ui_toolkit::CToolkit::Get().Contains(L"msgbox.xml", SourceFor(embedded)) ? L"msgbox.xml" : L"msgbox1.xml";
}

ui_toolkit::ImageSpec Cell(const wchar_t* file, int index) {
  ui_toolkit::ImageSpec image;
  image.file = file;
  image.source = Rect{index * 124, 0, (index + 1) * 124, 36};
  return image;
}

}  // namespace

CMessageBox::CMessageBox(HWND owner, std::wstring text, int kind, std::wstring alignment, bool embedded,
                         std::wstring right_text)
    : CWindowUI(LayoutFor(embedded), kWindowClass, SourceFor(embedded)),
      text_(std::move(text)),
      alignment_(std::move(alignment)),
      kind_(kind),
      embedded_(embedded),
      owner_(owner),
      right_text_(std::move(right_text)) {}

void CMessageBox::InitWindow() {
  // The layout draws the whole window: no frame, exactly the layout's size.
  const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  SetWindowLongPtrW(hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_BORDER |
                                                                       WS_DLGFRAME));
  const ui_toolkit::Size size = layout().window.size;
  SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ui_toolkit::CentreOnOwner(hwnd(), owner_);

  std::wstring right = right_text_.empty() ? L"确定" : right_text_;
  std::wstring left;
  switch (kind_) {
    case kMsgBoxOkCancel:
      left = L"取消";
      right_code_ = 1;
      left_code_ = 2;
      break;
    case kMsgBoxYesNo:
      right = L"是";
      left = L"否";
      right_code_ = 6;
      left_code_ = 7;
      break;
    default:
      right_code_ = 1;
      break;
  }
  if (CControlUI* area = FindControl(L"btn_area")) {
    if (left.empty()) {
      AddButton(area, L"right_btn", right, true, {108, 0, 232, 36});
    } else {
      AddButton(area, L"right_btn", right, true, {184, 0, 318, 36});
      AddButton(area, L"left_btn", left, false, {32, 0, 156, 36});
    }
    SetDefaultButton(FindControl(L"right_btn"));
  }
  if (!text_.empty()) {
    if (CControlUI* content = FindControl(L"content_area")) {
      auto label = std::make_unique<CLabelUI2>();
      label->name = L"msg_text";
      label->text = text_;
      label->text_colour = kGreyText;
      label->font = kButtonFont;
      label->align = AlignmentFromText(alignment_);
      label->is_float = true;
      label->float_pos = {43, 25, 343, 90};
      label->fixed_width = 300;
      label->fixed_height = 65;
      AddControl(content, std::move(label));
    }
  }
}

void CMessageBox::AddButton(CControlUI* area, const wchar_t* name, const std::wstring& text, bool orange,
                            const Rect& pos) {
  auto button = std::make_unique<CControlUI>(ControlKind::kButton, L"Button");
  button->name = name;
  button->text = text;
  button->is_float = true;
  button->float_pos = pos;
  button->fixed_width = pos.width();
  button->fixed_height = pos.height();
  button->font = kButtonFont;
  button->align = ui_toolkit::HorizontalAlign::kCenter;
  const wchar_t* file = orange ? L"images/btn-orange.png" : L"images/btn-grey.png";
  button->normal_image = Cell(file, 0);
  button->hot_image = Cell(file, 1);
  button->pushed_image = Cell(file, 2);
  button->text_colour = orange ? kOrangeButtonText : kGreyText;
  AddControl(area, std::move(button));
}

void CMessageBox::Notify(ui_toolkit::TNotifyUI& msg) {
  if (msg.type != L"click" || !msg.sender) return;
  if (msg.sender->name == L"right_btn") Close(right_code_);
  else if (msg.sender->name == L"left_btn") Close(left_code_);
  else if (msg.sender->name == L"cls") Close(kMsgBoxClosed);
}

int ShowMessageBox(HWND owner, const std::wstring& text, int kind, const std::wstring& alignment, bool embedded) {
  CMessageBox box(owner, text, kind, alignment, embedded);
  return ui_toolkit::RunModalDialog(box, owner);
}

int ShowNoticeBox(HWND owner, const std::wstring& text, const std::wstring& button_text) {
  CMessageBox box(owner, text, kMsgBoxOk, L"left", false, button_text);
  return ui_toolkit::RunModalDialog(box, owner);
}

}  // namespace popup_dialog
