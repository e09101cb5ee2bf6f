# Plays one recorded conversation back with the plug-in and passes only when the plug-in says
# that every line played back and exits with 0: a program that prints the line and then fails
# on its way out (a crash in clean-up, a wrong exit code) must fail the test too.
#   cmake -DPROGRAM=<plug-in> -DRECORDING=<file> [-DEMULATOR=<runner>]
#         [-DFOLDER=<dir> -DEXAMPLES=<examples dir>] -P run_playback.cmake
# Without FOLDER it runs in the current folder (the repository's root, because the recordings
# name their files relative to it). With FOLDER it runs in that folder, made afresh to hold
# nothing but a copy of EXAMPLES as examples/: what a fresh clone has, without a build and
# without anything another test wrote, and where whatever the conversation writes stays its own.
set(work_dir "")
if(FOLDER)
  file(REMOVE_RECURSE "${FOLDER}")
  file(MAKE_DIRECTORY "${FOLDER}")
  file(COPY "${EXAMPLES}" DESTINATION "${FOLDER}")
  set(work_dir WORKING_DIRECTORY "${FOLDER}")
endif()
execute_process(
  COMMAND ${EMULATOR} ${PROGRAM} -file ${RECORDING}
  ${work_dir}
  RESULT_VARIABLE code
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  TIMEOUT 120)
if(NOT code STREQUAL "0" OR NOT out MATCHES "^Successfully played back all [0-9]+ lines")
  message(FATAL_ERROR "Playback of ${RECORDING} failed (exit ${code})\n"
                      "standard output:\n${out}\nstandard error:\n${err}")
endif()
if(FOLDER)
  file(REMOVE_RECURSE "${FOLDER}")
endif()
message("${out}")
