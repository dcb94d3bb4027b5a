# Writes the README's example snapshot with the tool, runs it in MAME's
# Spectrum 128 driver on the stand-in ROM, and checks the two screens that
# screens.lua saves: the first picture after one second, the second after
# three. That takes MAME's own reading of the program counter, the stack,
# the paging byte and the banks, and a program that really runs.
# Run with -DMAME=... -DPAGESTOW=... -DEXAMPLES=... -DROMS=... -DSCRIPT=... -DSCRATCH=...
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(
  COMMAND "${PAGESTOW}" example.sna 24200 "${EXAMPLES}/program.bin" 24200 "${EXAMPLES}/page17.b" 65536
          "${EXAMPLES}/page19.b" 81920
  WORKING_DIRECTORY "${SCRATCH}"
  RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "pagestow could not write example.sna (exit ${written})")
endif()

# No window, no sound, as fast as it goes, and nothing read from or left in
# the user's own MAME set-up. MAME warns that the ROM's checksums are not the
# real ones and runs anyway.
execute_process(
  COMMAND "${MAME}" spec128 -rompath "${ROMS}" -snapshot example.sna -autoboot_script "${SCRIPT}"
          -video none -sound none -nothrottle -seconds_to_run 4 -skip_gameinfo -noreadconfig
          -homepath . -cfg_directory cfg -nvram_directory nvram
  WORKING_DIRECTORY "${SCRATCH}"
  RESULT_VARIABLE emulated
  OUTPUT_VARIABLE emulator_output
  ERROR_VARIABLE emulator_output)

# MAME 0.251 sometimes crashes on its way out after running any script, even
# one that only prints, so its exit status is not the verdict: the screens
# it saved while the machine ran are.
foreach(moment IN ITEMS "1;page17.b;first" "2;page19.b;second")
  list(GET moment 0 number)
  list(GET moment 1 picture)
  list(GET moment 2 ordinal)
  set(screen "${SCRATCH}/screen-${number}.bin")
  if(NOT EXISTS "${screen}")
    message(FATAL_ERROR "MAME saved no ${ordinal} screen (exit ${emulated}):\n${emulator_output}")
  endif()
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E compare_files "${screen}" "${EXAMPLES}/${picture}"
    RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "The ${ordinal} screen in MAME is not ${picture}: ${screen}")
  endif()
endforeach()
