#include "widget_window/ui_event.h"

#include <set>
#include <vector>

namespace widget_window {
namespace {

std::set<CUIEventObserver*>* g_registry = nullptr;
std::atomic<int> g_next_id{1};

}  // namespace

int CUIEventParam::NextEventId() { return g_next_id.fetch_add(1); }

CUIEventObserver::CUIEventObserver() {
  if (!g_registry) g_registry = new std::set<CUIEventObserver*>;
  g_registry->insert(this);
}

CUIEventObserver::~CUIEventObserver() {
  if (!g_registry) return;
  g_registry->erase(this);
  if (g_registry->empty()) {
    delete g_registry;
    g_registry = nullptr;
  }
}

void RaiseUIEvent(const CUIEventParam& event) {
  if (!g_registry) return;
  // A copy: an observer may come or go while the event is delivered; one that went is not called.
  const std::vector<CUIEventObserver*> observers(g_registry->begin(), g_registry->end());
  for (CUIEventObserver* observer : observers)
    if (g_registry && g_registry->count(observer)) observer->OnUIEvent(event);
}

bool HasUIEventRegistry() { return g_registry != nullptr; }

}  // namespace widget_window
