#pragma once
// The viewer's side of the statistics component brastel.dll: loading it (beside the program, else in the
// folder above; a program without it ends at once), the event sender and the quick-index wrapper.
// Process-wide objects created on first use; the UI thread sends, but the loader is safe from any thread.
#include <windows.h>

#include <string>

#include "basic_lib/singleton.h"
#include "siblings/brastel/brastel_api.h"

namespace app {

// The statistics module, loaded on first use. Ends the process with exit code 0 when it cannot be loaded.
HMODULE StatModule();

class CStatSender {
 public:
  static CStatSender& Get();
  // Skipped when either text is empty; false when the component refused it.
  bool Send(const std::wstring& category, const std::wstring& event);
  bool SendUtf8(const std::string& category, const std::string& event);
  ~CStatSender();

 private:
  CStatSender();
  bool started_ = false;
};

class CStatWrapper {
 public:
  static CStatWrapper& Get();
  // The switch, or 0 without a wrapper.
  [[nodiscard]] int GetQuickIndex() const;
  void SetQuickIndex(int on);
  // Releases the wrapper (place 1); the exit path does it by destroying the singleton.
  void Destroy();
  [[nodiscard]] bool exists() const { return wrapper_ != nullptr; }
  ~CStatWrapper();

 private:
  friend class basic_lib::CSingletonT<CStatWrapper>;
  CStatWrapper();
  HMODULE module_ = nullptr;
  IStatLibWrapper* wrapper_ = nullptr;
};

}  // namespace app
