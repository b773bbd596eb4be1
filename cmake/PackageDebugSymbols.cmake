# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged files of the Debian package, as a
# distribution's package build strips its programs: every ELF file keeps only what it needs to
# run and a link to its debug information, which goes into the package tilava-dbgsym under
# /usr/lib/debug/.build-id/, where debuggers find it by the file's build id. The package is
# written beside the .deb; its file times are SOURCE_DATE_EPOCH's when that is set (dpkg-deb).
set(root ${CPACK_TEMPORARY_DIRECTORY})
set(name ${CPACK_DEBIAN_PACKAGE_NAME}-dbgsym)
set(version ${CPACK_DEBIAN_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(debug_root ${CPACK_TOPLEVEL_DIRECTORY}/${name})
file(REMOVE_RECURSE ${debug_root})

file(GLOB_RECURSE files LIST_DIRECTORIES false ${root}/*)
list(SORT files)
set(build_ids "")
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    continue()
  endif()
  execute_process(COMMAND env LC_ALL=C readelf -n ${file} OUTPUT_VARIABLE notes
                  COMMAND_ERROR_IS_FATAL ANY)
  if(NOT notes MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
    message(FATAL_ERROR "${file} has no build id")
  endif()
  list(APPEND build_ids ${CMAKE_MATCH_1}${CMAKE_MATCH_2})
  set(debug ${debug_root}/usr/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
  get_filename_component(folder ${debug} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  # A shared object keeps the symbols that others link against; a program keeps none.
  set(strip --remove-section=.comment --remove-section=.note)
  if(file MATCHES "\\.so(\\.[0-9]+)*$")
    list(APPEND strip --strip-unneeded)
  endif()
  execute_process(COMMAND objcopy --only-keep-debug --compress-debug-sections ${file} ${debug}
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND strip ${strip} ${file} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND objcopy --add-gnu-debuglink=${debug} ${file} COMMAND_ERROR_IS_FATAL ANY)
  file(CHMOD ${debug} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
if(NOT build_ids)
  message(FATAL_ERROR "The package holds no program to strip")
endif()

# The control files, as Debian's own debug packages have them.
file(GLOB_RECURSE debug_files RELATIVE ${debug_root} ${debug_root}/usr/*)
list(SORT debug_files)
set(md5sums "")
set(size 0)
foreach(file IN LISTS debug_files)
  file(MD5 ${debug_root}/${file} sum)
  string(APPEND md5sums "${sum}  ${file}\n")
  file(SIZE ${debug_root}/${file} bytes)
  math(EXPR size "${size} + (${bytes} + 1023) / 1024")
endforeach()
file(MAKE_DIRECTORY ${debug_root}/usr/share/doc)
file(CREATE_LINK ${CPACK_DEBIAN_PACKAGE_NAME} ${debug_root}/usr/share/doc/${name} SYMBOLIC)
list(JOIN build_ids " " build_ids)
file(MAKE_DIRECTORY ${debug_root}/DEBIAN)
file(WRITE ${debug_root}/DEBIAN/md5sums "${md5sums}")
file(WRITE ${debug_root}/DEBIAN/control "Package: ${name}
Source: ${CPACK_DEBIAN_PACKAGE_NAME}
Version: ${version}
Auto-Built-Package: debug-symbols
Architecture: ${arch}
Maintainer: ${CPACK_DEBIAN_PACKAGE_MAINTAINER}
Installed-Size: ${size}
Depends: ${CPACK_DEBIAN_PACKAGE_NAME} (= ${version})
Section: debug
Priority: optional
Description: debug symbols for ${CPACK_DEBIAN_PACKAGE_NAME}
Build-Ids: ${build_ids}
")
execute_process(COMMAND find ${debug_root} -type d -exec chmod 0755 {} +
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND chmod 0644 ${debug_root}/DEBIAN/control ${debug_root}/DEBIAN/md5sums
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND dpkg-deb --root-owner-group -Zxz --build ${debug_root}
          ${CPACK_PACKAGE_DIRECTORY}/${name}_${version}_${arch}.ddeb
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
