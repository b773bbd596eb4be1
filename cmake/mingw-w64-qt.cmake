# Cross-build of the whole Windows program: the Qt-free layers' toolchain plus the static Qt,
# libjpeg-turbo and libical that scripts/windows-deps.sh builds. Its cache folder is named by the
# script's content, so the toolchain finds the build that matches the script in this tree.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

if(DEFINED ENV{TILAVA_WINDOWS_DEPS})
  set(_tilava_deps_root "$ENV{TILAVA_WINDOWS_DEPS}")
else()
  set(_tilava_deps_root /var/cache/tilava/windows-deps)
endif()
file(SHA256 ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-deps.sh _tilava_deps_key)
string(SUBSTRING "${_tilava_deps_key}" 0 16 _tilava_deps_key)
set(TILAVA_WINDOWS_PREFIX ${_tilava_deps_root}/${_tilava_deps_key}/prefix)
if(NOT EXISTS ${TILAVA_WINDOWS_PREFIX}/.complete)
  message(FATAL_ERROR "The Windows Qt is not built yet: run scripts/windows-deps.sh "
                      "(it looks for ${TILAVA_WINDOWS_PREFIX}).")
endif()

# With packages searched only below the root path, the prefix must be one of the roots; the
# try-compiles that find_package runs need it too.
list(APPEND CMAKE_FIND_ROOT_PATH ${TILAVA_WINDOWS_PREFIX})
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CMAKE_FIND_ROOT_PATH TILAVA_WINDOWS_PREFIX)
# moc, rcc and uic come from the host's Qt of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
