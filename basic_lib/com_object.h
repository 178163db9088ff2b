#pragma once
// CComObject: IUnknown for the COM objects the program implements itself. The object starts with one
// reference, ends in its last Release, and answers QueryInterface for IUnknown and whatever Supports
// accepts, always with the one interface it derives from.
#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace basic_lib {

// The interfaces have no virtual destructor by design: objects end in Release, through this class's own.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <typename Interface>
class CComObject : public Interface {
 public:
  CComObject() = default;
  CComObject(const CComObject&) = delete;
  CComObject& operator=(const CComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || Supports(iid)) {
      *out = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~CComObject() = default;
  [[nodiscard]] virtual bool Supports(REFIID iid) const = 0;

 private:
  std::atomic<ULONG> refs_{1};
};
#pragma GCC diagnostic pop

}  // namespace basic_lib
