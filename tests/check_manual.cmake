# Formats the manual page the way man does and fails on any warning groff
# gives (-ww turns all of them on; -z discards the formatted text).
# Run with -DGROFF=... -DMANUAL=...
foreach(preprocess IN ITEMS "" "-t")
  execute_process(
    COMMAND "${GROFF}" ${preprocess} -ww -man -z "${MANUAL}"
    RESULT_VARIABLE formatted
    OUTPUT_VARIABLE warnings
    ERROR_VARIABLE warnings)
  if(NOT formatted EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff ${preprocess} -ww -man -z ${MANUAL} (exit ${formatted}):\n${warnings}")
  endif()
endforeach()
