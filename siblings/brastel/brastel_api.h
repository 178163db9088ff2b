#pragma once
// The statistics component's interface as its callers see it: the exports by name, and the quick-index
// wrapper whose operations are called by their place in it.
#include <cstdint>

struct IStatLibWrapper {
  virtual int Initialise(int reserved, const wchar_t* product, int flags) = 0;  // place 0
  virtual void Release() = 0;                                                  // place 1
  virtual int Reserved2() = 0;                                                 // place 2
  virtual int Reserved3() = 0;                                                 // place 3
  virtual void SetQuickIndex(std::int32_t on) = 0;                             // place 4
  virtual std::int32_t GetQuickIndex() = 0;                                    // place 5

 protected:
  ~IStatLibWrapper() = default;
};

using StartStatFn = void(__cdecl*)();
using SendStatUrlFn = int(__cdecl*)(const wchar_t* category, const wchar_t* event);
using WaitStatCompleteFn = void(__cdecl*)(std::int32_t milliseconds);
using GetOsVersionFn = const wchar_t*(__cdecl*)();
using CreatePLibWrapperFn = IStatLibWrapper*(__cdecl*)();
