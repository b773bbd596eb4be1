# One static library per folder. Sources are picked up by pattern so that a new
# file needs no edit here; files for one system only are named by suffix:
#   *Win.cpp    Windows only
#   *Posix.cpp  everything but Windows
function(tilava_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast
                                             -Wnon-virtual-dtor -Woverloaded-virtual)
    # The builds that run the tests accept no warning.
    if(TILAVA_TESTS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      # GCC 12 reports "literal" + std::string as overlapping copies when optimising
      # (a false positive of its -Wrestrict, fixed in GCC 13).
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()

function(tilava_pick_sources out dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  # A subfolder with a CMakeLists.txt of its own builds a library of its own.
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS ${dir}/*/CMakeLists.txt)
  foreach(list_file IN LISTS own_lists)
    get_filename_component(own_dir ${list_file} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${own_dir}/")
  endforeach()
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "Posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "Win\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# tilava_library(<target> DEPS <targets...>)
function(tilava_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  tilava_pick_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  tilava_warnings(${target})
endfunction()
