# SPDX-License-Identifier: GPL-3.0-or-later
# Copies data/dat and data/skins into the program folder, leaving existing files alone.
foreach(sub dat skins)
  file(GLOB_RECURSE files RELATIVE ${SRC}/${sub} ${SRC}/${sub}/*)
  foreach(f ${files})
    if(NOT EXISTS ${DST}/${sub}/${f})
      get_filename_component(dir ${DST}/${sub}/${f} DIRECTORY)
      file(MAKE_DIRECTORY ${dir})
      file(COPY ${SRC}/${sub}/${f} DESTINATION ${dir})
    endif()
  endforeach()
  file(MAKE_DIRECTORY ${DST}/${sub})
endforeach()
file(MAKE_DIRECTORY ${DST}/Orlune_f)
