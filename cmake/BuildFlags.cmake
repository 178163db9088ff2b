# Flags of our own targets: warnings as errors, Unicode Win32 for Windows 10, sources found from the top.
# Third-party targets keep their own flags.
add_library(vistroma_build_flags INTERFACE)
target_compile_options(vistroma_build_flags INTERFACE
  -Wall -Wextra -Werror
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wsuggest-override>)
target_compile_definitions(vistroma_build_flags INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_include_directories(vistroma_build_flags INTERFACE ${PROJECT_SOURCE_DIR})
