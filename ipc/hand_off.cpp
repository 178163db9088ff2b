#include "ipc/hand_off.h"

namespace ipc {

LRESULT SendHandOff(HWND target, std::wstring_view text) {
  std::wstring copy(text);
  COPYDATASTRUCT data{};
  data.dwData = HAND_OFF_TAG;
  data.cbData = static_cast<DWORD>((copy.size() + 1) * sizeof(wchar_t));
  data.lpData = copy.data();
  return SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
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
