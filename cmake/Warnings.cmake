# SPDX-License-Identifier: GPL-3.0-or-later
# Our own code builds warning-free; a warning is an error.
function(quorin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # GCC 12 reports std::string operations as overlapping copies at -O2 and above
  # (GCC bug 105329); these reports concern the library, not our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# A static library of one model folder, from every source file in it.
function(quorin_library target)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  set(sources "")
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  # Each build leaves out the other's backends (QUORIN_OTHER_BACKENDS, a file name pattern).
  if(QUORIN_OTHER_BACKENDS)
    list(FILTER sources EXCLUDE REGEX "${QUORIN_OTHER_BACKENDS}")
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    quorin_warnings(${target})
  else()
    # A folder not written yet still links as an empty dependency.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_LIBS})
  endif()
endfunction()
