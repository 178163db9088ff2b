# vistroma_add_module(NAME FOLDER [EXCLUDE files...] [LIBS...]): a static library of every .cpp in one
# source folder but the excluded ones (a program's own files). The one place that lists sources: a new
# file in the folder is part of its module.
function(vistroma_add_module name folder)
  cmake_parse_arguments(M "" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(excluded IN LISTS M_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${folder}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC vistroma_build_flags ${M_LIBS})
endfunction()
