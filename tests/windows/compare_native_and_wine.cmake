# Records the same calls natively and under wine and requires the two model
# files and the two data files to be identical byte for byte.
#   cmake -DNATIVE_RUNNER=... -DNATIVE_LIBRARY=... -DWINE_RUN=... -DWINDOWS_RUNNER=...
#         -DWINDOWS_LIBRARY=... [-DSCENARIOS=a,b] -DWORK_DIR=... -P compare_native_and_wine.cmake
# Each runner is called as RUNNER LIBRARY [SCENARIO]; without SCENARIOS it is
# called once, with no scenario.
set(outputs scribe_output/scribe_output.c scribe_output/params.bin)

function(record side dir)
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${dir}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${side} run of [${ARGN}] failed (${status}):\n${output}")
  endif()
endfunction()

set(runs "${SCENARIOS}")
if(runs STREQUAL "")
  set(runs "run")
  set(once ON)
endif()
string(REPLACE "," ";" runs "${runs}")

set(failures 0)
foreach(scenario IN LISTS runs)
  set(argument ${scenario})
  if(once)
    set(argument "")
  endif()
  string(REGEX REPLACE "[^A-Za-z0-9]" "_" label "${scenario}")
  set(native ${WORK_DIR}/${label}/native)
  set(windows ${WORK_DIR}/${label}/windows)
  record(native ${native} ${NATIVE_RUNNER} ${NATIVE_LIBRARY} ${argument})
  record(windows ${windows} sh ${WINE_RUN} ${WINDOWS_RUNNER} ${WINDOWS_LIBRARY} ${argument})
  foreach(file IN LISTS outputs)
    if(NOT EXISTS ${native}/${file})
      message(SEND_ERROR "${scenario}: the native run wrote no ${file}")
      math(EXPR failures "${failures} + 1")
      continue()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${native}/${file} ${windows}/${file}
      RESULT_VARIABLE different)
    file(SIZE ${native}/${file} size)
    if(different)
      message(SEND_ERROR "${scenario}: ${file} differs between ${native} and ${windows}")
      math(EXPR failures "${failures} + 1")
    else()
      message(STATUS "${scenario}: ${file} identical (${size} bytes)")
    endif()
  endforeach()
endforeach()
if(failures EQUAL 0)
  file(REMOVE_RECURSE ${WORK_DIR})
endif()
