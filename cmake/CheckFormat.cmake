# Fails when a C++ file of ours differs from what clang-format makes of it.
file(GLOB_RECURSE files
  ${ROOT}/core/*.cpp ${ROOT}/core/*.h ${ROOT}/store/*.cpp ${ROOT}/store/*.h
  ${ROOT}/platform/*.cpp ${ROOT}/platform/*.h ${ROOT}/model/*.cpp ${ROOT}/model/*.h
  ${ROOT}/ui/*.cpp ${ROOT}/ui/*.h ${ROOT}/app/*.cpp ${ROOT}/app/*.h
  ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
  ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/fuzz/*.cpp ${ROOT}/fuzz/*.h)
set(bad "")
foreach(f IN LISTS files)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${f}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "Not formatted with clang-format:\n  ${text}")
endif()
list(LENGTH files n)
message(STATUS "${n} files formatted")
