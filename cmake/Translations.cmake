# SPDX-License-Identifier: GPL-3.0-or-later
# The windows' texts in traditional Chinese: data/translations/*.ts (made by
# tools/make_translations.sh, corrected in Qt Linguist) compiled with lrelease into the
# program folder's translations/, installed beside the shipped dat/ and skins/.
find_program(QUORIN_LRELEASE NAMES lrelease lrelease-qt6 PATHS /usr/lib/qt6/bin REQUIRED)
file(GLOB quorin_ts_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/translations/*.ts)
set(quorin_qm_files "")
foreach(ts ${quorin_ts_files})
  get_filename_component(name ${ts} NAME_WE)
  set(qm ${CMAKE_BINARY_DIR}/bin/translations/${name}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/translations
    COMMAND ${QUORIN_LRELEASE} -silent ${ts} -qm ${qm}
    DEPENDS ${ts} VERBATIM)
  list(APPEND quorin_qm_files ${qm})
endforeach()
add_custom_target(translations ALL DEPENDS ${quorin_qm_files})
install(FILES ${quorin_qm_files} DESTINATION share/quorin/translations)
