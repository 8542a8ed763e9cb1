# zebscribe.exe under wine on a recording of ZebScribe.dll: sound, then cut in
# a block, reported, sealed and sound again. With a host build, the host's
# zebscribe builds the sealed recording for Windows and the replay runs; and
# a recording whose main needs more stack than a Windows program gets (8.5
# MiB; 2 MiB by default) replays the direct run's calls.
# Usage: cmake -DEMULATOR=a|b|c -DTOOL=... -DRUNNER=... -DLIBRARY=... -DECHO=...
#              -DECHO_LINK=... -DCC=... -DHOST_TOOL=... -DWORK=... -P wine_tool_test.cmake
string(REPLACE "|" ";" wine "${EMULATOR}")
set(recording ${WORK}/scribe_output)

set(here ${WORK})  # where the commands run
function(expect status)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${here}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL status)
    list(JOIN ARGN " " shown)
    message(FATAL_ERROR "${shown}: status ${result}, not ${status}:\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
expect(0 ${wine} ${RUNNER} ${LIBRARY} data-and-binaries)
expect(0 ${wine} ${TOOL} check ${recording})

file(READ ${recording}/scribe_output.c model)
string(FIND "${model}" "context_1_fp = fopen" cut)
string(SUBSTRING "${model}" 0 ${cut} model)
file(WRITE ${recording}/scribe_output.c "${model}")
expect(1 ${wine} ${TOOL} check ${recording})
expect(0 ${wine} ${TOOL} seal ${recording})
expect(0 ${wine} ${TOOL} check ${recording})
expect(0 ${wine} ${TOOL} info --json ${recording})
string(REGEX MATCH "\"calls\":([0-9]+)" ignored "${output}")
set(calls ${CMAKE_MATCH_1})

if(NOT EXISTS ${HOST_TOOL})
  message(STATUS "no host zebscribe: the Windows build of a recording is not tried")
  return()
endif()
expect(0 ${HOST_TOOL} build ${recording} --backend ${ECHO_LINK} --cc ${CC})
file(COPY ${ECHO} DESTINATION ${recording})
execute_process(COMMAND ${CMAKE_COMMAND} -E env ZEB_ECHO_LOG=calls.log ${wine} ./replay.exe
                WORKING_DIRECTORY ${recording} RESULT_VARIABLE result)
file(STRINGS ${recording}/calls.log replayed)
list(LENGTH replayed count)
if(NOT result EQUAL 0 OR NOT count EQUAL calls)
  message(FATAL_ERROR "the Windows replay ended with ${result} after ${count} of ${calls} calls")
endif()

set(here ${WORK}/long)
file(MAKE_DIRECTORY ${here})
expect(0 ${CMAKE_COMMAND} -E env ZEB_ECHO_LOG=direct.log ${wine} ${RUNNER} ${ECHO} network:3300)
expect(0 ${wine} ${RUNNER} ${LIBRARY} network:3300)
expect(0 ${HOST_TOOL} build scribe_output --backend ${ECHO_LINK} --cc ${CC})
file(COPY ${ECHO} DESTINATION ${here}/scribe_output)
set(here ${here}/scribe_output)
expect(0 ${CMAKE_COMMAND} -E env ZEB_ECHO_LOG=replay.log ${wine} ./replay.exe)
expect(0 ${CMAKE_COMMAND} -E compare_files ${WORK}/long/direct.log ${here}/replay.log)
