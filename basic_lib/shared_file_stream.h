#pragma once
// A read-only COM stream over a file that others may read, write, rename and delete while it is open,
// as a shown picture must allow (the shell's own file streams do not share deletion).
#include <windows.h>
#include <objidl.h>

#include <string>

namespace basic_lib {

// S_OK with *stream set, or the error of opening the file.
HRESULT CreateSharedReadStream(const std::wstring& path, IStream** stream);

}  // namespace basic_lib
