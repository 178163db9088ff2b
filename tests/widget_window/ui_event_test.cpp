#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "widget_window/ui_event.h"

using namespace widget_window;

namespace {

std::vector<std::string> g_calls;

class Recorder : public CUIEventObserver {
 public:
  explicit Recorder(std::string name) : name_(std::move(name)) {}
  void OnUIEvent(const CUIEventParam& event) override {
    std::string line = name_;
    line += ':';
    line += std::to_string(event.GetEventId());
    if (event.GetEventId() == CUIEventViewZoomChanged::Id()) {
      line += ':';
      line += std::to_string(static_cast<const CUIEventViewZoomChanged&>(event).ratio);
    }
    g_calls.push_back(line);
  }
  std::string name_;
};

}  // namespace

TEST(UIEvents, KindIdsCountFromOneInOrderOfFirstUse) {
  // This program asks for the kinds first here, in this order.
  EXPECT_EQ(CUIEventFolderImageCollected::Id(), 1);
  EXPECT_EQ(CUIEventViewImageChanged::Id(), 2);
  EXPECT_EQ(CUIEventViewZoomChanged::Id(), 3);
  EXPECT_EQ(CUIEventFolderImageCollected::Id(), 1) << "stable afterwards";
  EXPECT_EQ(CUIEventViewZoomChanged(0.5f, 0.2f).GetEventId(), 3);
}

TEST(UIEvents, DeliveryOrderAndObserversComingAndGoing) {
  g_calls.clear();
  EXPECT_FALSE(HasUIEventRegistry());
  RaiseUIEvent(CUIEventViewImageChanged());  // no observer: nothing happens
  EXPECT_TRUE(g_calls.empty());

  // Observers in one array: their addresses ascend with the index.
  auto observers = std::make_unique<std::vector<std::unique_ptr<Recorder>>>();
  std::vector<Recorder*> by_address;
  for (const char* name : {"c", "a", "b"}) observers->push_back(std::make_unique<Recorder>(name));
  for (auto& o : *observers) by_address.push_back(o.get());
  std::sort(by_address.begin(), by_address.end());
  EXPECT_TRUE(HasUIEventRegistry());
  RaiseUIEvent(CUIEventViewZoomChanged(1.5f, 0.25f));
  ASSERT_EQ(g_calls.size(), 3u);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(g_calls[i].substr(0, 1), by_address[i]->name_) << "ascending address order";

  g_calls.clear();
  const std::string gone = (*observers)[1]->name_;
  (*observers)[1].reset();
  RaiseUIEvent(CUIEventViewImageChanged());
  EXPECT_EQ(g_calls.size(), 2u);
  for (const auto& line : g_calls) EXPECT_NE(line.substr(0, 1), gone) << "a destroyed observer is not called";
  observers.reset();
  EXPECT_FALSE(HasUIEventRegistry()) << "the registry goes with the last observer";
}
