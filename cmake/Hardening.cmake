# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags for every optimised build, so the binaries packed into the Debian
# package (from build/release) are built as Debian builds its own: fortified functions, stack
# protector, format checks, read-only relocations bound at start-up. They come from
# dpkg-buildflags with every hardening feature on, and change no result of the program.
# Left out: Debug builds (fortification needs optimisation) and sanitizer builds (the
# sanitizers check the same and more, and clash with fortified functions).
if(QUORIN_SANITIZE OR CMAKE_BUILD_TYPE STREQUAL "Debug")
  return()
endif()
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: built without Debian's hardening flags (scripts/setup.sh installs dpkg-dev)")
  return()
endif()

# dpkg-buildflags' flags of one kind, without those the build type or a source package decides:
# optimisation and debug information (CMAKE_BUILD_TYPE), source path mapping (reproducible
# source packages; it would also keep worktrees from sharing the compiler cache).
function(quorin_hardening_flags kind out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                          ${DPKG_BUILDFLAGS} --get ${kind}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*|f(file|debug|macro)-prefix-map=.*)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

quorin_hardening_flags(CPPFLAGS hardening_cppflags)
quorin_hardening_flags(CXXFLAGS hardening_cxxflags)
quorin_hardening_flags(LDFLAGS hardening_ldflags)
add_compile_options(${hardening_cppflags} ${hardening_cxxflags})
add_link_options(${hardening_ldflags})
list(JOIN hardening_cppflags " " shown_cpp)
list(JOIN hardening_cxxflags " " shown_cxx)
list(JOIN hardening_ldflags " " shown_ld)
message(STATUS "Hardening flags (dpkg-buildflags): ${shown_cpp} ${shown_cxx}; linker: ${shown_ld}")
