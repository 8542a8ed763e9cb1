# Installs the build into a fresh prefix, builds tests/tool/consumer against it
# with find_package(ZebScribe), records through it, builds the recording with
# the installed zebscribe against the installed echo backend and replays it.
# Usage: cmake -DBUILD_DIR=... -DWORK=... -DSOURCE=... -DCC=... -DLIBDIR=...
#              [-DFLAGS=...] -P consumer_test.cmake
function(run)
  cmake_parse_arguments(RUN "" "IN" "COMMAND" ${ARGN})
  execute_process(COMMAND ${RUN_COMMAND} WORKING_DIRECTORY ${RUN_IN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    list(JOIN RUN_COMMAND " " shown)
    message(FATAL_ERROR "${shown} (in ${RUN_IN}) failed with ${status}:\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/run)
set(prefix ${WORK}/prefix)
set(tool ${prefix}/bin/zebscribe)
set(recording ${WORK}/run/recording)

run(IN ${WORK} COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(IN ${WORK} COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/build -DCMAKE_PREFIX_PATH=${prefix}
                       -DCMAKE_C_COMPILER=${CC} "-DCMAKE_C_FLAGS=${FLAGS}")
run(IN ${WORK} COMMAND ${CMAKE_COMMAND} --build ${WORK}/build)
run(IN ${WORK}/run COMMAND ${WORK}/build/consumer)

run(IN ${WORK} COMMAND ${tool} check ${recording})
run(IN ${WORK} COMMAND ${tool} build ${recording} --backend ${prefix}/${LIBDIR}/libZebEcho.so
                       --cc "${CC} ${FLAGS}")
run(IN ${recording} COMMAND ${CMAKE_COMMAND} -E env ZEB_ECHO_LOG=calls.log ./replay)
file(STRINGS ${recording}/calls.log replayed)
run(IN ${WORK} COMMAND ${tool} dump ${recording} --cc "${CC} ${FLAGS}")
string(REGEX MATCHALL "[^\n]+" dumped "${output}")

set(calls "")
foreach(line IN LISTS replayed)
  string(REGEX MATCH "^[a-zA-Z]+" call "${line}")
  list(APPEND calls ${call})
endforeach()
set(expected backendCreate contextCreate tensorCreateContextTensor contextFree backendFree)
if(NOT calls STREQUAL expected)
  message(FATAL_ERROR "the replay made the calls ${calls}, not ${expected}")
endif()
if(NOT dumped STREQUAL replayed)
  message(FATAL_ERROR "dump printed\n${output}\nbut the built replay logged\n${replayed}")
endif()
if(NOT replayed MATCHES "buf\\(4,")
  message(FATAL_ERROR "the tensor's four bytes did not come back: ${replayed}")
endif()
