# Formats the manual page as plain text with CR LF line ends, for Windows,
# where there is no man to read it with. grotty's -c with -b, -o and -u
# leaves no escape sequence and no overstriking, only the characters.
# Run with -DGROFF=... -DMANUAL=... -DTEXT=...
execute_process(
  COMMAND "${GROFF}" -t -man -Tascii -P-cbou "${MANUAL}"
  RESULT_VARIABLE formatted
  OUTPUT_VARIABLE text
  ERROR_VARIABLE warnings)
if(NOT formatted EQUAL 0 OR text STREQUAL "")
  message(FATAL_ERROR "groff could not format ${MANUAL} (exit ${formatted}):\n${warnings}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${TEXT}" "${text}")
