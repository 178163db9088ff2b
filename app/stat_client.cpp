#include "app/stat_client.h"

#include <shlwapi.h>

#include "app/app_paths.h"
#include "basic_lib/singleton.h"
#include "basic_lib/text_convert.h"

namespace app {
namespace {

constexpr wchar_t kStatDll[] = L"brastel.dll";

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

HMODULE StatModule() {
  static HMODULE module = [] {
    if (HMODULE loaded = GetModuleHandleW(kStatDll)) return loaded;
    const std::wstring beside = GetExeFolder() + kStatDll;
    if (PathFileExistsW(beside.c_str())) return LoadLibraryW(beside.c_str());
    std::wstring parent = GetExeFolder();
    parent.pop_back();  // the trailing backslash
    parent = parent.substr(0, parent.find_last_of(L'\\') + 1);
    return LoadLibraryW((parent + kStatDll).c_str());
  }();
  if (!module) ExitProcess(0);
  return module;
}

CStatSender& CStatSender::Get() {
  static CStatSender sender;
  return sender;
}

CStatSender::CStatSender() {
  if (auto start = Export<StartStatFn>(StatModule(), "StartStat")) {
    start();
    started_ = true;
  }
}

CStatSender::~CStatSender() {
  // Static destruction at exit: give queued events their time.
  if (!started_) return;
  if (auto wait = Export<WaitStatCompleteFn>(StatModule(), "WaitStatComplete")) wait(2000);
}

bool CStatSender::Send(const std::wstring& category, const std::wstring& event) {
  if (category.empty() || event.empty()) return false;
  auto send = Export<SendStatUrlFn>(StatModule(), "SendStatUrl");
  return send && send(category.c_str(), event.c_str()) != 0;
}

bool CStatSender::SendUtf8(const std::string& category, const std::string& event) {
  return Send(basic_lib::Utf8ToWide(category), basic_lib::Utf8ToWide(event));
}

CStatWrapper& CStatWrapper::Get() { return basic_lib::CSingletonT<CStatWrapper>::Instance(); }

CStatWrapper::~CStatWrapper() { Destroy(); }

CStatWrapper::CStatWrapper() {
  // Only beside the program, and without it the wrapper is simply absent.
  const std::wstring path = GetExeFolder() + kStatDll;
  if (!PathFileExistsW(path.c_str())) return;
  module_ = LoadLibraryW(path.c_str());
  if (auto create = Export<CreatePLibWrapperFn>(module_, "CreatePLibWrapper")) wrapper_ = create();
  if (wrapper_) wrapper_->Initialise(0, L"vistroma", 0);
}

int CStatWrapper::GetQuickIndex() const { return wrapper_ ? wrapper_->GetQuickIndex() : 0; }

void CStatWrapper::SetQuickIndex(int on) {
  if (wrapper_) wrapper_->SetQuickIndex(on);
}

void CStatWrapper::Destroy() {
  if (wrapper_) wrapper_->Release();
  wrapper_ = nullptr;
}

}  // namespace app
