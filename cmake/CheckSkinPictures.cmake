cmake_minimum_required(VERSION 3.25)
# Paints every skin picture into OUT and fails when one differs from its copy under
# ROOT/assets/skin, or when the painter fails (a text that does not fit its box).
file(REMOVE_RECURSE ${OUT})
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${PAINTER} ${OUT} RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the skin painter failed (${result})")
endif()
file(GLOB painted RELATIVE ${OUT} ${OUT}/*)
set(stale "")
foreach(name IN LISTS painted)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name}
                          ${ROOT}/assets/skin/${name} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND stale ${name})
  endif()
endforeach()
if(stale)
  list(JOIN stale "\n  " stale)
  message(FATAL_ERROR "these pictures differ from what tools/skinpainter.cpp paints now; "
                      "regenerate assets/skin as it says:\n  ${stale}")
endif()
