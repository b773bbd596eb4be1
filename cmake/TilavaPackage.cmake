# What `cmake --install` puts on a Linux system, and the Debian package made of it by CPack:
# the program, its calendar export module, its desktop entry, its icon in every hicolor size and
# its AppStream metainfo.
# Nothing else is installed (the tests, the painters and the static layer libraries stay in the
# build folder). `tests/package/check.sh BUILD_DIR` checks the result.
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

# The calendar export's module, where the program looks for it (ui/CMakeLists.txt).
if(TARGET tilava_calendar_export)
  install(TARGETS tilava_calendar_export LIBRARY DESTINATION lib/tilava)
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
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME tilava)
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

include(CPack)
