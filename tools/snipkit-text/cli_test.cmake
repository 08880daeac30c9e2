# Runs PROGRAM (through LAUNCHER, if given) with the list ARGS on the file
# INPUT and checks the exit status against STATUS, standard error against the
# regular expression STDERR (when given; a failing run must say one line) and
# standard output byte for byte against the file EXPECT (when given).
file(MAKE_DIRECTORY ${WORK})
set(actual ${WORK}/stdout)
execute_process(COMMAND ${LAUNCHER} ${LAUNCHER_ARGS} ${PROGRAM} ${ARGS}
  INPUT_FILE ${INPUT} OUTPUT_FILE ${actual} ERROR_VARIABLE err RESULT_VARIABLE rc)

if(NOT rc STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${rc}, expected ${STATUS}; stderr: ${err}")
endif()
if(NOT STDERR STREQUAL "" AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not match '${STDERR}': '${err}'")
endif()
if(NOT STATUS EQUAL 0 AND NOT err MATCHES "^[^\n]+\n$")
  message(FATAL_ERROR "a failing run must print exactly one line, got: '${err}'")
endif()
if(EXPECT)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${actual} ${EXPECT} RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "output ${actual} differs from ${EXPECT}")
  endif()
endif()
