#include "main_view/view_layout.h"

#include "main_view/view_item_geometry.h"
#include "main_view/view_items.h"

namespace main_view {
namespace {

SIZE SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

}  // namespace

void CMainViewLayout::Layout(HWND window, std::vector<std::unique_ptr<widget_window::CWidgetItem>>& items) {
  RECT client{};
  GetClientRect(window, &client);
  const SIZE size = SizeOf(client);
  widget_window::CWidgetItem* slogan = nullptr;
  for (const auto& item : items)
    if (item->id == kItemSlogan) slogan = item.get();
  for (const auto& item : items) {
    switch (item->id) {
      case kItemArrowLeft:
        item->rect = {0, 0, arrow_width_, size.cy};
        break;
      case kItemArrowRight:
        item->rect = {size.cx - arrow_width_, 0, size.cx, size.cy};
        break;
      case kItemLoadError:
      case kItemLoading:
        item->rect = client;
        break;
      case kItemOpenButton: {
        const SIZE slogan_size = slogan ? SizeOf(slogan->rect) : SIZE{0, 0};
        const WelcomePlacement p = PlaceWelcome(size, slogan_size, SizeOf(item->rect));
        item->rect = p.button;
        if (slogan) slogan->rect = p.slogan;
        break;
      }
      case kItemMissingTip:
      case kItemSavingTip:
        item->rect = CentredTip(size);
        break;
      default:
        break;
    }
  }
}

}  // namespace main_view
