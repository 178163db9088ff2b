#pragma once
// The UI event bus: publishers build an event on the stack and RaiseUIEvent hands it to every registered
// observer, in ascending address order, synchronously. Kinds are told apart by a per-class id that is
// handed out on first use from a process-wide counter starting at 1. UI thread only.
#include <atomic>

namespace widget_window {

class CUIEventParam {
 public:
  virtual ~CUIEventParam() = default;
  [[nodiscard]] virtual int GetEventId() const = 0;

 protected:
  static int NextEventId();
};

// The id of one event class, assigned on the first call and the same afterwards.
template <typename Event>
class CUIEventKind : public CUIEventParam {
 public:
  [[nodiscard]] static int Id() {
    static const int id = NextEventId();
    return id;
  }
  [[nodiscard]] int GetEventId() const override { return Id(); }
};

class CUIEventViewImageChanged final : public CUIEventKind<CUIEventViewImageChanged> {};

class CUIEventViewZoomChanged final : public CUIEventKind<CUIEventViewZoomChanged> {
 public:
  CUIEventViewZoomChanged(float ratio, float fit_ratio) : ratio(ratio), fit_ratio(fit_ratio) {}
  float ratio;
  float fit_ratio;
};

class CUIEventFolderImageCollected final : public CUIEventKind<CUIEventFolderImageCollected> {};

class CUIEventObserver {
 public:
  CUIEventObserver();
  CUIEventObserver(const CUIEventObserver&) = delete;
  CUIEventObserver& operator=(const CUIEventObserver&) = delete;
  virtual ~CUIEventObserver();
  virtual void OnUIEvent(const CUIEventParam& event) = 0;
};

void RaiseUIEvent(const CUIEventParam& event);
// Whether the registry exists (while at least one observer does).
[[nodiscard]] bool HasUIEventRegistry();

}  // namespace widget_window
