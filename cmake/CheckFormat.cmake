# Fails when a C++ file of ours differs from what clang-format makes of it. One clang-format
# run checks every file (a run per file spent most of the suite's time starting processes).
file(GLOB_RECURSE files
  ${ROOT}/core/*.cpp ${ROOT}/core/*.h ${ROOT}/store/*.cpp ${ROOT}/store/*.h
  ${ROOT}/platform/*.cpp ${ROOT}/platform/*.h ${ROOT}/model/*.cpp ${ROOT}/model/*.h
  ${ROOT}/exchange/*.cpp ${ROOT}/exchange/*.h ${ROOT}/ui/*.cpp ${ROOT}/ui/*.h
  ${ROOT}/app/*.cpp ${ROOT}/app/*.h
  ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.c
  ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/fuzz/*.cpp ${ROOT}/fuzz/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files}
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE report)
if(NOT rc EQUAL 0)
  # Each difference is reported as "FILE:LINE:COLUMN: error: …"; name each file once.
  string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: error" places "${report}")
  set(bad "")
  foreach(place IN LISTS places)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error$" "" file "${place}")
    list(APPEND bad "${file}")
  endforeach()
  list(REMOVE_DUPLICATES bad)
  if(NOT bad)
    set(bad "(clang-format failed: ${report})")
  endif()
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "Not formatted with clang-format:\n  ${text}")
endif()
list(LENGTH files n)
message(STATUS "${n} files formatted")
