#include "basic_lib/shared_file_stream.h"

#include "basic_lib/com_object.h"

namespace basic_lib {
namespace {

class SharedFileStream final : public CComObject<IStream> {
 public:
  explicit SharedFileStream(HANDLE file) : file_(file) {}

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
    DWORD got = 0;
    if (!ReadFile(file_, buffer, size, &got, nullptr)) return HRESULT_FROM_WIN32(GetLastError());
    if (read) *read = got;
    return got < size ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
    LARGE_INTEGER now{};
    if (!SetFilePointerEx(file_, move, &now, origin)) return STG_E_INVALIDPOINTER;
    if (position) position->QuadPart = static_cast<ULONGLONG>(now.QuadPart);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = {};
    stat->type = STGTY_STREAM;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size)) return HRESULT_FROM_WIN32(GetLastError());
    stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
    stat->grfMode = STGM_READ | STGM_SHARE_DENY_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 protected:
  bool Supports(REFIID iid) const override { return iid == IID_ISequentialStream || iid == IID_IStream; }

 private:
  ~SharedFileStream() override { CloseHandle(file_); }
  HANDLE file_;
};

}  // namespace

HRESULT CreateSharedReadStream(const std::wstring& path, IStream** stream) {
  if (!stream) return E_POINTER;
  *stream = nullptr;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  *stream = new SharedFileStream(file);
  return S_OK;
}

}  // namespace basic_lib
