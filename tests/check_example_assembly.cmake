# Assembles the example program and checks that the committed bytes are what
# the source assembles to, so the two never drift apart.
# Run with -DPASMO=... -DSOURCE=... -DCOMMITTED=... -DSCRATCH=...
execute_process(
  COMMAND "${PASMO}" --bin "${SOURCE}" "${SCRATCH}"
  RESULT_VARIABLE assembled
  OUTPUT_VARIABLE assembler_output
  ERROR_VARIABLE assembler_output)
if(NOT assembled EQUAL 0)
  message(FATAL_ERROR "pasmo failed on ${SOURCE}:\n${assembler_output}")
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH}" "${COMMITTED}"
  RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what ${SOURCE} assembles to; reassemble and commit it")
endif()
