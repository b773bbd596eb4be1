include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest's sources; they cross-compile as they are.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Its CMake files name the targets GTest::gtest and GTest::gtest_main themselves.
  foreach(lib gtest gtest_main gmock)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()

# Every <Name>Test.cpp in a tests/<layer> folder is one test program.
# Files for one system only: *WinTest.cpp (Windows), *PosixTest.cpp (the rest).
# Keeps in the list <tests> those of this system, and sets <labels> (the layer, and "windows"
# in the Wine run).
macro(tilava_tests_for_this_system tests labels layer)
  if(WIN32)
    list(FILTER ${tests} EXCLUDE REGEX "PosixTest\\.cpp$")
    set(${labels} "${layer};windows")
  else()
    list(FILTER ${tests} EXCLUDE REGEX "WinTest\\.cpp$")
    set(${labels} "${layer}")
  endif()
endmacro()

# WRAPPED <regex> WRAPPER <command...>: the programs whose name matches start through the
# command (natively; under Wine, Wine starts them), e.g. with a private session bus.
function(tilava_gtests layer)
  cmake_parse_arguments(ARG "" "WRAPPED" "LIBS;WRAPPER" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Support.cpp)
  tilava_tests_for_this_system(tests labels ${layer})
  foreach(src IN LISTS tests)
    get_filename_component(name ${src} NAME_WE)
    set(target ${layer}_${name})
    add_executable(${target} ${src} ${helpers})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} tilava_test_support
                          GTest::gtest_main GTest::gmock)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    tilava_warnings(${target})
    # A *DavTest talks to the CalDAV servers that the fixture calendar_server starts (see
    # tests/CMakeLists.txt), one such test at a time; so does a *InteropPosixTest (Linux only: it
    # runs vdirsyncer too).
    set(server_properties "")
    set(server_text "")
    if(name MATCHES "(DavTest|InteropPosixTest)$")
      set(server_properties FIXTURES_REQUIRED calendar_server RESOURCE_LOCK calendar_server
                            ENVIRONMENT "TILAVA_TEST_DAV=${TILAVA_DAV_DIR}")
      set(server_text "FIXTURES_REQUIRED calendar_server RESOURCE_LOCK calendar_server ENVIRONMENT \"TILAVA_TEST_DAV=${TILAVA_DAV_DIR}\"")
    endif()
    if(CMAKE_CROSSCOMPILING)
      # Under Wine every program start costs a Wine process start, and a start that Wine
      # loses now and then must not break the run: a program is one test there, with no
      # discovery run before it.
      add_test(NAME ${target} COMMAND ${target})
      set_tests_properties(${target} PROPERTIES LABELS "${labels}" TIMEOUT 300 ${server_properties})
      continue()
    endif()
    if(ARG_WRAPPED AND name MATCHES "${ARG_WRAPPED}")
      # The listing of the tests and each test run through it.
      set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_WRAPPER}")
    endif()
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      TEST_LIST ${target}_TESTS)
    # Discovered tests cannot take a list in PROPERTIES, so the labels are set by a script
    # that CTest reads after discovery.
    set(label_script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
    file(WRITE ${label_script}
      "foreach(t IN LISTS ${target}_TESTS)\n  set_tests_properties(\"\${t}\" PROPERTIES LABELS \"${labels}\" ${server_text})\nendforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${label_script})
  endforeach()
endfunction()

# Every <Name>Test.cpp in tests/ui is one Qt Test program on the offscreen platform; files for
# one system only are named as above.
function(tilava_qtests layer)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Support.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*Support.h)
  tilava_tests_for_this_system(tests labels ${layer})
  foreach(src IN LISTS tests)
    get_filename_component(name ${src} NAME_WE)
    set(target ${layer}_${name})
    add_executable(${target} ${src} ${helpers})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} Qt6::Test)
    if(WIN32 AND NOT QT6_IS_SHARED_LIBS_BUILD)
      # A static Qt links only the default platform into a program.
      qt_import_plugins(${target} INCLUDE Qt6::QOffscreenIntegrationPlugin)
    endif()
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    tilava_warnings(${target})
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS "${labels}" TIMEOUT 120
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endforeach()
endfunction()
