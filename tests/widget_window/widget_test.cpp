// A real widget window driven with real window messages: presses, drags, double clicks, a lost capture,
// disabled items, tooltips and timers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/message_pump.h"
#include "widget_window/widget_window.h"

using namespace widget_window;
using test_support::PumpUntil;
using namespace std::chrono_literals;

namespace {

class Box : public CWidgetItem {
 public:
  void Paint(HDC dc) override {
    RECT r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject((state & kItemHover) ? WHITE_BRUSH : GRAY_BRUSH)));
  }
};

// Three 50-pixel items side by side from x = 0.
class RowLayout : public CWidgetLayout {
 public:
  void Layout(HWND, std::vector<std::unique_ptr<CWidgetItem>>& items) override {
    int x = 0;
    for (auto& item : items) {
      item->rect = {x, 0, x + 50, 30};
      x += 50;
    }
  }
};

constexpr UINT kTakeCapture = WM_APP + 7;

class Recorder : public CWidgetWindow {
 public:
  std::vector<std::string> events;
  HWND thief = nullptr;

 protected:
  LRESULT OnItemMouseDown(CWidgetItem* item) override {
    events.push_back("down:" + (item ? std::to_string(item->id) : std::string("none")));
    return 0;
  }
  CWidgetItem* OnItemClick(CWidgetItem* item) override {
    events.push_back("click:" + std::to_string(item->id));
    return item;
  }
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kTakeCapture) {
      SetCapture(thief);
      return 0;
    }
    return CWidgetWindow::WindowProc(msg, wp, lp);
  }
};

class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_.Create(parent_, RECT{0, 0, 200, 30}, 1), nullptr);
    for (int id : {1, 2, 3}) {
      auto item = std::make_unique<Box>();
      item->id = id;
      item->text = L"item " + std::to_wstring(id);
      window_.AddItem(std::move(item));
    }
    window_.SetLayout(std::make_unique<RowLayout>());
    window_.RecalcLayout();
    window_.thief = parent_;
  }
  void TearDown() override { DestroyWindow(parent_); }
  // Posts what happens during the press, then presses: the capture loop reads the posted messages.
  void Press(int x, std::vector<std::pair<UINT, int>> then, UINT how = WM_LBUTTONDOWN) {
    for (auto [msg, at] : then) PostMessageW(window_.hwnd(), msg, 0, MAKELPARAM(at, 10));
    SendMessageW(window_.hwnd(), how, MK_LBUTTON, MAKELPARAM(x, 10));
  }
  HWND parent_ = nullptr;
  Recorder window_;
};

}  // namespace

TEST_F(WidgetTest, AClickNeedsThePressAndTheReleaseOnTheSameItem) {
  Press(25, {{WM_MOUSEMOVE, 190}, {WM_LBUTTONUP, 190}});
  EXPECT_EQ(window_.events, std::vector<std::string>{"down:1"}) << "dragged off: no click";
  window_.events.clear();
  Press(25, {{WM_MOUSEMOVE, 190}, {WM_MOUSEMOVE, 30}, {WM_LBUTTONUP, 30}});
  EXPECT_EQ(window_.events, (std::vector<std::string>{"down:1", "click:1"})) << "dragged back: a click";
  window_.events.clear();
  Press(175, {{WM_LBUTTONUP, 175}});
  EXPECT_EQ(window_.events, std::vector<std::string>{"down:none"}) << "empty space: the loop still runs";
  EXPECT_EQ(GetCapture(), nullptr);
  window_.events.clear();
  Press(75, {{WM_LBUTTONUP, 75}});
  Press(75, {{WM_LBUTTONUP, 75}}, WM_LBUTTONDBLCLK);
  EXPECT_EQ(window_.events, (std::vector<std::string>{"down:2", "click:2", "down:2", "click:2"}))
      << "a double click is a second press and a second click";
  for (const auto& item : window_.items()) EXPECT_EQ(item->state & kItemPressed, 0u);
}

TEST_F(WidgetTest, LosingTheCaptureEndsThePressWithoutAClick) {
  PostMessageW(window_.hwnd(), kTakeCapture, 0, 0);
  PostMessageW(window_.hwnd(), WM_NULL, 0, 0);
  PostMessageW(window_.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(25, 10));
  SendMessageW(window_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 10));
  EXPECT_EQ(window_.events, std::vector<std::string>{"down:1"});
  ReleaseCapture();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST_F(WidgetTest, DisabledItemsAreNeverHoveredOrHit) {
  CWidgetItem* second = window_.items()[1].get();
  second->state &= ~kItemEnabled;
  window_.UpdateHover(75, 10);
  EXPECT_EQ(second->state & kItemHover, 0u);
  EXPECT_EQ(window_.HitTest(75, 10), nullptr);
  window_.UpdateHover(25, 10);
  EXPECT_TRUE(window_.items()[0]->state & kItemHover);
  window_.UpdateHover(125, 10);
  EXPECT_FALSE(window_.items()[0]->state & kItemHover) << "the hover moves";
  EXPECT_TRUE(window_.items()[2]->state & kItemHover);
  Press(75, {{WM_LBUTTONUP, 75}});
  EXPECT_EQ(window_.events, std::vector<std::string>{"down:none"});
  // An item added at a place that does not exist is dropped.
  window_.AddItem(std::make_unique<Box>(), 9);
  EXPECT_EQ(window_.items().size(), 3u);
  window_.AddItem(std::make_unique<Box>(), 0);
  EXPECT_EQ(window_.items().size(), 4u);
}

TEST_F(WidgetTest, TooltipIdsStartAgainAtOneHundredAfterALayout) {
  const auto ids = [&] {
    std::vector<UINT_PTR> out;
    const int count = static_cast<int>(SendMessageW(window_.tooltip(), TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      TOOLINFOW info{};
      info.cbSize = sizeof(info);
      if (SendMessageW(window_.tooltip(), TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info)))
        out.push_back(info.uId);
    }
    return out;
  };
  ASSERT_NE(window_.tooltip(), nullptr);
  EXPECT_EQ(ids(), (std::vector<UINT_PTR>{100, 101, 102}));
  window_.items()[0]->state &= ~kItemVisible;
  window_.RecalcLayout();
  EXPECT_EQ(ids(), (std::vector<UINT_PTR>{100, 101})) << "a new tooltip, ids from 100 again";
}

namespace {

class Counter : public FCTimerNotify {
 public:
  int ticks = 0;
  void OnTimer() override { ++ticks; }
};

}  // namespace

TEST(TimerNotify, TimersRunApartAndTheMapGoesWithTheLast) {
  EXPECT_FALSE(FCTimerNotify::MapExists());
  auto one = std::make_unique<Counter>();
  auto two = std::make_unique<Counter>();
  ASSERT_NE(one->StartTimer(15), 0u);
  ASSERT_NE(two->StartTimer(15), 0u);
  EXPECT_NE(one->timer_id(), two->timer_id());
  ASSERT_TRUE(PumpUntil([&] { return one->ticks >= 2 && two->ticks >= 2; }, 5s));
  one.reset();
  EXPECT_TRUE(FCTimerNotify::MapExists());
  const int before = two->ticks;
  ASSERT_TRUE(PumpUntil([&] { return two->ticks >= before + 2; }, 5s)) << "the other keeps running";
  two.reset();
  EXPECT_FALSE(FCTimerNotify::MapExists());
}

TEST(WidgetItems, ABitmapButtonDrawsTheCellOfItsState) {
  // A sheet of 2 columns x 3 rows of 10 x 10 cells, each cell one colour: 0xFF000000 | column * 16 + row.
  auto sheet = std::make_shared<image::FCObjImage>();
  ASSERT_TRUE(sheet->Create(20, -30, 32));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x)
      reinterpret_cast<std::uint32_t*>(sheet->RowPointer(y))[x] = 0xFF000000u | ((x / 10) * 16 + y / 10);
  CWidgetItemBitmapButton button;
  button.sheet = sheet;
  button.column = 1;
  button.rect = {0, 0, 10, 10};
  image::FCObjImage target;
  ASSERT_TRUE(target.Create(10, -10, 32));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, target.Bitmap());
  const auto drawn = [&] {
    button.Paint(dc);
    GdiFlush();
    return reinterpret_cast<std::uint32_t*>(target.RowPointer(5))[5] & 0xFF;
  };
  EXPECT_EQ(drawn(), 16u) << "normal: row 0";
  button.state |= kItemHover;
  EXPECT_EQ(drawn(), 17u) << "hot: row 1";
  button.state &= ~kItemEnabled;
  EXPECT_EQ(drawn(), 18u) << "disabled: row 2";
  SelectObject(dc, old);
  DeleteDC(dc);
}
