#pragma once
// The hand-off between copies of the viewer: a later launch sends its request as one WM_COPYDATA to a
// known message-only window (or to an idle main window); the running copy answers 1 when it took it.
#include <windows.h>

#include <string>
#include <string_view>

namespace ipc {

inline constexpr ULONG_PTR HAND_OFF_TAG = 0x22678201;
inline constexpr wchar_t kReceiverName[] = L"43AF68E358C97DCF97C45EA164F";
inline constexpr wchar_t kAlwaysReceiverName[] = L"IPC-43AF68E358C97DCF97C45EA164F_Always";
inline constexpr wchar_t kQuitBroadcastMessage[] = L"Vistroma_quit_broadcast_msg";
inline constexpr wchar_t kMainWindowClass[] = L"VistromaMainFrameClass-b1f78b3cc4bd764c";

inline constexpr UINT kHandOffTimeoutMs = 15000;

// WM_COPYDATA (wParam 0) with the text and its terminating zero; the receiver's answer, 0 when it does not
// answer in time.
LRESULT SendHandOff(HWND target, std::wstring_view text);
// The text of a hand-off: null when the tag differs or there is no data; the text up to its first zero
// or the end of the data, so a sender that leaves out the zero cannot make the receiver read past it.
[[nodiscard]] bool ReadHandOff(const COPYDATASTRUCT* data, std::wstring& text);

}  // namespace ipc
