#include "ipc/hand_off.h"

namespace ipc {

LRESULT SendHandOff(HWND target, std::wstring_view text) {
  std::wstring copy(text);
  COPYDATASTRUCT data{};
  data.dwData = HAND_OFF_TAG;
  data.cbData = static_cast<DWORD>((copy.size() + 1) * sizeof(wchar_t));
  data.lpData = copy.data();
  // A copy that hangs must not hang every later launch with it: after the timeout this launch goes on
  // as if refused.
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kHandOffTimeoutMs,
                           &result))
    return 0;
  return static_cast<LRESULT>(result);
}

bool ReadHandOff(const COPYDATASTRUCT* data, std::wstring& text) {
  text.clear();
  if (!data || data->dwData != HAND_OFF_TAG || !data->lpData) return false;
  const auto* chars = static_cast<const wchar_t*>(data->lpData);
  const size_t count = data->cbData / sizeof(wchar_t);
  size_t length = 0;
  while (length < count && chars[length] != L'\0') ++length;
  text.assign(chars, length);
  return true;
}

}  // namespace ipc
