# What `cmake --install` puts on a Linux system, and the Debian package made of it by CPack:
# the program, its calendar export and sync modules, its manual page, its desktop entry, its icon in every
# hicolor size, its AppStream metainfo, and the package's copyright and changelog.
# Nothing else is installed (the tests, the painters and the static layer libraries stay in the
# build folder). `scripts/build-package.sh` builds the package as a distribution would (hardened,
# with the debug information in a package of its own, reproducibly);
# `tests/package/check.sh BUILD_DIR` checks the result.
include(GNUInstallDirs)

set(TILAVA_APP_ID sk.zelm.Tilava)

if(TARGET tilava)
  install(TARGETS tilava RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The rest is for the Linux desktop. On Windows only the program is installed; windeployqt puts
# the Qt libraries beside it (README, "Windows").
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# The calendar export's and the calendar sync's modules, in the program's private folder under
# the library folder, where the program looks for them (exchange/CMakeLists.txt); no other
# program links them, so they need no ldconfig.
foreach(module tilava_calendar_export tilava_calendar_sync)
  if(TARGET ${module})
    install(TARGETS ${module} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tilava)
  endif()
endforeach()
# The package's own documents: the copyright and the changelog, whose newest entry names the
# package's version (the project's version and the Debian revision).
set(TILAVA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tilava)
set(changelog ${PROJECT_SOURCE_DIR}/assets/linux/changelog)
file(STRINGS ${changelog} newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^tilava \\(${PROJECT_VERSION}-([0-9]+)\\) ")
  message(FATAL_ERROR "The newest entry of ${changelog} is not version ${PROJECT_VERSION}-N: "
                      "${newest}")
endif()
set(TILAVA_DEBIAN_REVISION ${CMAKE_MATCH_1})
find_program(TILAVA_GZIP gzip REQUIRED)
# Without the file's name and time (-n), so that every build gives the same bytes.
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  COMMAND ${TILAVA_GZIP} -9n -c ${changelog} > ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  DEPENDS ${changelog}
  VERBATIM)
add_custom_target(tilava_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/copyright
              ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${TILAVA_DOC_DIR})
# What lintian asks of a package in Debian's own archive and does not apply to this one.
install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tilava)
# The manual page, written from the built program's --help (cmake/manpage.sh).
if(TARGET tilava AND NOT CMAKE_CROSSCOMPILING)
  set(manual ${PROJECT_BINARY_DIR}/tilava.1)
  add_custom_command(
    OUTPUT ${manual}.gz
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/manpage.sh $<TARGET_FILE:tilava> ${manual}
    COMMAND ${TILAVA_GZIP} -9nf ${manual}
    DEPENDS tilava ${PROJECT_SOURCE_DIR}/cmake/manpage.sh
    COMMENT "Manual page tilava.1 from tilava --help"
    VERBATIM)
  add_custom_target(tilava_manual ALL DEPENDS ${manual}.gz)
  install(FILES ${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/${TILAVA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/linux/${TILAVA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The sizes written by tools/iconpainter.cpp.
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/${size}/${TILAVA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(TILAVA_PACKAGE_MAINTAINER "ZELM <info@zelm.sk>"
    CACHE STRING "Maintainer line of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tilava)
set(CPACK_PACKAGE_VENDOR ZELM)
set(CPACK_PACKAGE_CONTACT "${TILAVA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "name-day calendar widget for Slovak and Czech users")
set(CPACK_PACKAGE_DESCRIPTION
    "Tilava shows today's day, weekday and name day (or the holiday) in a narrow
borderless widget in the top right corner of the screen, with the user's
reminders in coloured bars below it, and keeps a tray icon to bring it back.
A week window browses the calendar from Monday to Sunday with Easter, week
numbers and a search for a name's day. Notes, birthdays and anniversaries are
kept per day in small Windows-1250 text files, the same files that the Windows
version writes.")
# The program and the module are stripped when they are packaged; their debug information goes
# into the package tilava-dbgsym (a .ddeb, as Debian's own debug packages), found by build id.
set(CPACK_STRIP_FILES OFF)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageDebugSymbols.cmake)
# Folders in the package are rwxr-xr-x whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_NAME tilava)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TILAVA_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TILAVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zelm.sk/")
# dpkg-shlibdeps names the libraries the program links (Qt 6, libjpeg-turbo, fontconfig, xcb)
# and the export module's libical;
# the widget's font is loaded by name at run time, so its package is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
# Qt's Slovak catalogue: without it the file dialogs and the standard buttons speak English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# On a Wayland session the widget runs on XWayland, through Qt's X11 platform, which is in
# libqt6gui6 (a dependency already); XWayland itself comes with the desktop. Qt's Wayland
# platform is only for a user who chooses it (QT_QPA_PLATFORM=wayland).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-wayland)

include(CPack)
