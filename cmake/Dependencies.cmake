# Static libraries from scripts/build-deps.sh, merged into one prefix.
set(VISTROMA_DEPS_PREFIX "${CMAKE_BINARY_DIR}/deps" CACHE PATH "Prefix holding the cross-built libraries")
if(NOT EXISTS "${VISTROMA_DEPS_PREFIX}/.slots")
  message(FATAL_ERROR "No libraries in ${VISTROMA_DEPS_PREFIX}: run scripts/build-deps.sh first")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${VISTROMA_DEPS_PREFIX}")
list(APPEND CMAKE_PREFIX_PATH "${VISTROMA_DEPS_PREFIX}")

# Imported target for a static library found by file name, with its include folder.
function(vistroma_import_library target libname header)
  find_library(${target}_LIBRARY NAMES ${libname} NO_CMAKE_SYSTEM_PATH)
  find_path(${target}_INCLUDE_DIR NAMES ${header} NO_CMAKE_SYSTEM_PATH)
  if(NOT ${target}_LIBRARY OR NOT ${target}_INCLUDE_DIR)
    message(FATAL_ERROR "lib${libname} (${header}) not found under ${VISTROMA_DEPS_PREFIX}")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION "${${target}_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${${target}_INCLUDE_DIR}")
endfunction()

vistroma_import_library(deps::jpeg libjpeg.a jpeglib.h)
vistroma_import_library(deps::turbojpeg libturbojpeg.a turbojpeg.h)
vistroma_import_library(deps::lcms2 liblcms2.a lcms2.h)
set_target_properties(deps::lcms2 PROPERTIES INTERFACE_COMPILE_DEFINITIONS "CMS_NO_REGISTER_KEYWORD=1")
vistroma_import_library(deps::cjson libcjson.a cjson/cJSON.h)
vistroma_import_library(deps::pugixml libpugixml.a pugixml.hpp)
vistroma_import_library(deps::webpdecoder libwebpdecoder.a webp/decode.h)
set_target_properties(deps::pugixml PROPERTIES INTERFACE_COMPILE_DEFINITIONS "PUGIXML_WCHAR_MODE")

# zlib from Debian's mingw package; the static archive, not the import library of zlib1.dll.
find_library(ZLIB_STATIC_LIBRARY NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE_DIR NAMES zlib.h REQUIRED)
add_library(deps::zlib STATIC IMPORTED GLOBAL)
set_target_properties(deps::zlib PROPERTIES
  IMPORTED_LOCATION "${ZLIB_STATIC_LIBRARY}" INTERFACE_INCLUDE_DIRECTORIES "${ZLIB_INCLUDE_DIR}")

find_package(Threads REQUIRED)
find_package(GTest CONFIG REQUIRED)
