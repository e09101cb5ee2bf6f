# Plays one recorded conversation back with the plug-in and passes only when the plug-in says
# that every line played back and exits with 0: a program that prints the line and then fails
# on its way out (a crash in clean-up, a wrong exit code) must fail the test too.
#   cmake -DPROGRAM=<plug-in> -DRECORDING=<file> [-DEMULATOR=<runner>] -P run_playback.cmake
# run from the repository's root, because the recordings name their ORTI files relative to it.
execute_process(
  COMMAND ${EMULATOR} ${PROGRAM} -file ${RECORDING}
  RESULT_VARIABLE code
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  TIMEOUT 120)
if(NOT code STREQUAL "0" OR NOT out MATCHES "^Successfully played back all [0-9]+ lines")
  message(FATAL_ERROR "Playback of ${RECORDING} failed (exit ${code})\n"
                      "standard output:\n${out}\nstandard error:\n${err}")
endif()
message("${out}")
