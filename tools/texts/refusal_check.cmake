# Runs zanbel-texts on a faulty source over an existing output file: the tool
# has to fail with exit code 1 and remove the old file, so that a build never
# goes on with texts from before the fault.
#   cmake -DTOOL=... -DSOURCE=... -DOUT=... -P refusal_check.cmake
file(WRITE ${OUT} "old texts")
execute_process(COMMAND ${TOOL} ${SOURCE} ${OUT}
    RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "zanbel-texts ended with '${rc}', expected 1:\n${err}")
endif()
if(EXISTS ${OUT})
  message(FATAL_ERROR "zanbel-texts left ${OUT} behind")
endif()
if(NOT err MATCHES "beskrivelse 2008 mangler sit tip 4008")
  message(FATAL_ERROR "unexpected message:\n${err}")
endif()
