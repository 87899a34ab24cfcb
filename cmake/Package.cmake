# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package CPack builds from it.
# The installed tree is relocatable: the programs find their shipped files at ../share/quorin/
# and keep each user's data in the user's data folder (src/base/data_location.h).

set(desktop ${PROJECT_SOURCE_DIR}/data/desktop)
set(generated ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${generated})

# Built with Debian's hardening flags (cmake/Hardening.cmake); stripped by CPack, and without the
# compilers' version notes (.comment), which strip keeps and a package has no use for.
install(TARGETS quorin quorin-cli RUNTIME DESTINATION bin)
install(CODE "
  foreach(program quorin quorin-cli)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${program}\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")
# Laid out like a portable program folder: dat/ (seeds of the user's dat/, help document), skins/.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/dat/ DESTINATION share/quorin/dat)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/skins/ DESTINATION share/quorin/skins)

install(FILES ${desktop}/quorin.desktop DESTINATION share/applications)
install(FILES ${desktop}/quorin.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256 512)
  install(FILES ${desktop}/icons/quorin-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME quorin.png)
endforeach()
configure_file(${desktop}/org.quorin.quorin.metainfo.xml ${generated}/org.quorin.quorin.metainfo.xml @ONLY)
install(FILES ${generated}/org.quorin.quorin.metainfo.xml DESTINATION share/metainfo)

# Manual pages, compressed as Debian wants them. The tool's page comes from its own --help, so
# it is never written twice; help and version run without touching any data folder.
find_program(HELP2MAN help2man)
find_program(GZIP gzip REQUIRED)
configure_file(${desktop}/quorin.1.in ${generated}/quorin.1 @ONLY)
configure_file(${desktop}/changelog.in ${generated}/changelog @ONLY)
set(package_pieces ${generated}/quorin.1.gz ${generated}/changelog.gz)
add_custom_command(OUTPUT ${generated}/quorin.1.gz ${generated}/changelog.gz
  COMMAND ${GZIP} -9nf -k quorin.1 changelog
  DEPENDS ${generated}/quorin.1 ${generated}/changelog
  WORKING_DIRECTORY ${generated} VERBATIM)
if(HELP2MAN)
  add_custom_command(OUTPUT ${generated}/quorin-cli.1.gz
    # help2man runs the tool in its own locale, C unless told: a UTF-8 one keeps the Chinese.
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=1796774400
            ${HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr
            --include=${desktop}/quorin-cli.h2m --output=quorin-cli.1 $<TARGET_FILE:quorin-cli>
    COMMAND ${GZIP} -9nf quorin-cli.1
    DEPENDS quorin-cli ${desktop}/quorin-cli.h2m
    WORKING_DIRECTORY ${generated} VERBATIM)
  list(APPEND package_pieces ${generated}/quorin-cli.1.gz)
  install(FILES ${generated}/quorin-cli.1.gz DESTINATION share/man/man1)
else()
  message(STATUS "help2man not found: the package goes without the quorin-cli manual page (scripts/setup.sh installs it)")
endif()
add_custom_target(package_pieces ALL DEPENDS ${package_pieces})
install(FILES ${generated}/quorin.1.gz DESTINATION share/man/man1)
install(FILES ${desktop}/copyright DESTINATION share/doc/quorin)
install(FILES ${desktop}/lintian-overrides DESTINATION share/lintian/overrides RENAME quorin)
# Where bash-completion looks for a command's completion when it is first used.
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/quorin-cli DESTINATION share/bash-completion/completions)
install(FILES ${generated}/changelog.gz DESTINATION share/doc/quorin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/deb)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese date selection by the Xuan Kong Da Gua method")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorin turns a moment, a place, a mountain and a person into the day chart
of the Xuan Kong Da Gua method: the four pillars, their hexagrams with
numbers, the written analysis, the harmful stars and an interactive chart
picture.

Around it: a one-year search for auspicious moments, a case database with
categories and rich-text remarks, a perpetual calendar with era names, a
reverse search from four pillars to moments and a viewer of the Book of
Changes. The command-line tool quorin-cli computes charts, calendars and
searches and manages the cases from a shell. The program's texts are Chinese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorin developers <developers@quorin.org>")
# Free software (GPL-3.0-or-later, LICENSE), so a section of Debian's main archive.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The texts ask for a Song face; the program maps it to Noto Serif CJK (src/qtdraw/fonts.cpp).
# Qt's own dialogs and buttons speak Chinese with Qt's translation (qtbase_zh_CN, zh_TW); the
# traditional scripts are converted with OpenCC's dictionaries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n, libopencc-data, tzdata")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
