#include "folder/folder_scan.h"

#include <windows.h>
#include <exdisp.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <algorithm>

#include "basic_lib/scoped_handle.h"
#include "basic_lib/text_case.h"
#include "image/format_table.h"

namespace folder {
namespace {

using Microsoft::WRL::ComPtr;

int FindNoCase(const std::vector<std::wstring>& names, const std::wstring& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (basic_lib::EqualsNoCase(names[i], name)) return static_cast<int>(i);
  return -1;
}

std::wstring Canonical(std::wstring path) {
  wchar_t out[MAX_PATH] = {};
  if (path.size() < MAX_PATH && PathCanonicalizeW(out, path.c_str())) path = out;
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

void SortLogically(std::vector<std::wstring>& names) {
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return StrCmpLogicalW(a.c_str(), b.c_str()) < 0; });
}

void MergeExplorerOrder(const std::vector<std::wstring>& explorer, const std::wstring& current_name,
                        CFolderScanResult& result) {
  std::vector<std::wstring> pictures;
  for (const std::wstring& name : explorer)
    if (!result.subfolder_names.count(name) && image::ClassifyImagePath(name) != 0) pictures.push_back(name);
  const int in_explorer = FindNoCase(pictures, current_name);
  if (in_explorer >= 0) {
    result.names = std::move(pictures);
    result.found_index = in_explorer;
  } else {
    result.found_index = FindNoCase(result.names, current_name);
  }
}

void ScanFolder(const std::wstring& folder, const std::wstring& current_name, const std::atomic<int>& cancel,
                CFolderScanResult& out) {
  out = {};
  WIN32_FIND_DATAW found;
  basic_lib::ScopedFindHandle find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (find) {
    do {
      const std::wstring name = found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) out.subfolder_names.insert(name);
      else if (image::ClassifyImagePath(name) != 0) out.names.push_back(name);
    } while (FindNextFileW(find.get(), &found));
  }
  SortLogically(out.names);
  if (cancel.load()) {
    out.found_index = FindNoCase(out.names, current_name);
    return;
  }
  MergeExplorerOrder(ExplorerOrder(folder, cancel), current_name, out);
}

std::vector<std::wstring> ExplorerOrder(const std::wstring& folder, const std::atomic<int>& cancel) {
  std::vector<std::wstring> order;
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&windows)))) return order;
  long count = 0;
  if (FAILED(windows->get_Count(&count))) return order;
  const std::wstring wanted = Canonical(folder);
  for (long i = 0; i < count && !cancel.load(); ++i) {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = i;
    ComPtr<IDispatch> dispatch;
    ComPtr<IServiceProvider> provider;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IFolderView> folder_view;
    ComPtr<IPersistFolder2> persist;
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(windows->Item(index, &dispatch)) || !dispatch || FAILED(dispatch.As(&provider)) ||
        FAILED(provider->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
        FAILED(browser->QueryActiveShellView(&view)) || FAILED(view.As(&folder_view)) ||
        FAILED(folder_view->GetFolder(IID_PPV_ARGS(&persist))) || FAILED(persist->GetCurFolder(&pidl)))
      continue;
    wchar_t path[MAX_PATH] = {};
    const bool named = SHGetPathFromIDListW(pidl, path);
    CoTaskMemFree(pidl);
    if (!named || !basic_lib::EqualsNoCase(Canonical(path), wanted)) continue;
    int items = 0;
    ComPtr<IShellFolder> shell_folder;
    if (FAILED(folder_view->ItemCount(SVGIO_ALLVIEW, &items)) || FAILED(persist.As(&shell_folder))) return order;
    for (int k = 0; k < items && !cancel.load(); ++k) {
      PITEMID_CHILD child = nullptr;
      if (FAILED(folder_view->Item(k, &child))) continue;
      STRRET name{};
      wchar_t* text = nullptr;
      if (SUCCEEDED(shell_folder->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) &&
          SUCCEEDED(StrRetToStrW(&name, child, &text))) {
        order.push_back(text);
        CoTaskMemFree(text);
      }
      CoTaskMemFree(child);
    }
    return order;  // the first matching window decides
  }
  return order;
}

}  // namespace folder
