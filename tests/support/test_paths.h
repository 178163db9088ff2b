#pragma once
// Where the test programs find the built program and their helpers, independent of the working folder.
#include <string>

namespace test_support {

// Folder of the running test program, with a trailing backslash.
std::wstring TestBinDirectory();
// The folder laid out for shipping: Vistroma.exe, resources\, siblings; with a trailing backslash.
std::wstring DistDirectory();

}  // namespace test_support
