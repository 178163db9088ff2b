#include "popup_dialog/mouse_wheel_prompt.h"

#include "app/app_config.h"
#include "ui_toolkit/dialog_runner.h"

namespace popup_dialog {
namespace {

DlgMouseWheelFavorite2* g_current = nullptr;

}  // namespace

DlgMouseWheelFavorite2::DlgMouseWheelFavorite2() : CWindowUI(L"mousewheel.xml", L"VistromaMouseWheelPrompt") {
  g_current = this;
}

DlgMouseWheelFavorite2::~DlgMouseWheelFavorite2() {
  if (g_current == this) g_current = nullptr;
}

DlgMouseWheelFavorite2* DlgMouseWheelFavorite2::Current() { return g_current; }

int DlgMouseWheelFavorite2::Run(HWND owner) {
  DlgMouseWheelFavorite2 prompt;
  return ui_toolkit::RunModalDialog(prompt, owner);
}

void DlgMouseWheelFavorite2::InitWindow() {
  SetSelected(FindControl(action_ == 0 ? L"turnpage" : L"zoom"), true, false);
  if (no_tip_) SetSelected(FindControl(L"notip"), true, false);
  SetDefaultButton(FindControl(L"ok"));
}

void DlgMouseWheelFavorite2::Notify(ui_toolkit::TNotifyUI& msg) {
  if (!msg.sender) return;
  const std::wstring& name = msg.sender->name;
  if (msg.type == L"selectchanged") {
    if (name == L"notip") no_tip_ = msg.sender->selected;
    else if (name == L"turnpage" && msg.sender->selected) action_ = 0;
    else if (name == L"zoom" && msg.sender->selected) action_ = 1;
  } else if (msg.type == L"click") {
    if (name == L"cls") {
      action_ = 0;  // closing without a choice keeps the wheel turning pages
      Finish();
    } else if (name == L"ok") {
      Finish();
    }
  }
}

void DlgMouseWheelFavorite2::Finish() {
  app::CAppConfig& config = app::CAppConfig::Get();
  if (no_tip_) config.show_wheel_favorite = 0;
  config.mouse_wheel_action = action_;
  config.Save();
  Close(1);
}

}  // namespace popup_dialog
