#pragma once
// CSingletonT: a process-wide object created on first use behind a once-flag and destroyed at most once,
// at a moment the program chooses (the exit path destroys them in a fixed order). Nothing may use one after
// it is destroyed.
#include <mutex>

namespace basic_lib {

template <typename T>
class CSingletonT {
 public:
  static T& Instance() {
    std::call_once(created_, [] { instance_ = new T(); });
    return *instance_;
  }
  // Creates it first when it was never used, so that its construction and destruction both happen.
  static void DestroyInstance() {
    Instance();
    std::call_once(destroyed_, [] {
      delete instance_;
      instance_ = nullptr;
    });
  }

 protected:
  CSingletonT() = default;

 private:
  static inline std::once_flag created_;
  static inline std::once_flag destroyed_;
  static inline T* instance_ = nullptr;
};

}  // namespace basic_lib
