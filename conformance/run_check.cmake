# Runs the conformance program headless on an empty device and compares what it printed with the
# reference record: cmake -DPROGRAM= -DCHECK= -DREFERENCE= -DKNOWN= -DWORK= -P run_check.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/device)
execute_process(COMMAND ${PROGRAM} --headless --device ${WORK}/device
  OUTPUT_FILE ${WORK}/ours.txt ERROR_FILE ${WORK}/stderr.txt RESULT_VARIABLE ran TIMEOUT 90)
if(NOT ran EQUAL 0)
  file(READ ${WORK}/stderr.txt errors)
  message(FATAL_ERROR "the conformance program ended with ${ran}:\n${errors}")
endif()
execute_process(COMMAND ${CHECK} ${REFERENCE} ${WORK}/ours.txt ${KNOWN} RESULT_VARIABLE checked)
if(NOT checked EQUAL 0)
  message(FATAL_ERROR "differences from the reference that are not listed in ${KNOWN} (our output: ${WORK}/ours.txt)")
endif()
