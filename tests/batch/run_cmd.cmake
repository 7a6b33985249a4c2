# zkontroluj-soubory.cmd, the Explorer way of the Windows build, under wine's
# cmd: two files dropped from a folder with a space in its name (one with an
# '&' in its name) and a missing one, then the same with the results' folder
# too. The reports and the summary must be in kontrola-ORV beside the first
# file, the window must name that folder and wait for Enter, and the status
# must be the batch's (13: a file is missing). A batch that cannot start
# names no folder.
# Variables: RUNNER (wine), DAVKA (quelt-davka.exe), CMD_SCRIPT, WORK_DIR,
# SOURCE_DIR.

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY "${WORK_DIR}/program" "${WORK_DIR}/data dir")
file(COPY ${DAVKA} ${CMD_SCRIPT} DESTINATION ${WORK_DIR}/program)
configure_file(${SOURCE_DIR}/examples/priklad.xml "${WORK_DIR}/data dir/a.xml" COPYONLY)
configure_file(${SOURCE_DIR}/examples/priklad.xml "${WORK_DIR}/data dir/b&c.xml" COPYONLY)

# Wine's drive Z: is the Linux root.
function(windows_name path out)
  string(REPLACE "/" "\\" name "Z:${path}")
  set(${out} "${name}" PARENT_SCOPE)
endfunction()
get_filename_component(script_name ${CMD_SCRIPT} NAME)
windows_name("${WORK_DIR}/program/${script_name}" script)
windows_name("${WORK_DIR}/data dir/a.xml" first)
windows_name("${WORK_DIR}/data dir/b&c.xml" second)
windows_name("${WORK_DIR}/data dir/chybi.xml" missing)
windows_name("${WORK_DIR}/data dir/kontrola-ORV" folder)

file(WRITE ${WORK_DIR}/enter.txt "\n")
separate_arguments(runner_list UNIX_COMMAND "${RUNNER}")
set(failures "")

# A drop, and a drop of the same files with the results' folder selected too
# (Ctrl+A in Explorer): the second checks the files again.
foreach(drop first again)
  set(dropped "${first}" "${second}" "${missing}")
  if(drop STREQUAL "again")
    list(APPEND dropped "${folder}")
  endif()
  execute_process(COMMAND ${runner_list} cmd /c "${script}" ${dropped}
                  WORKING_DIRECTORY ${WORK_DIR}
                  INPUT_FILE ${WORK_DIR}/enter.txt
                  RESULT_VARIABLE status OUTPUT_VARIABLE console ERROR_VARIABLE console_err
                  TIMEOUT 120)
  if(NOT status STREQUAL "13")
    string(APPEND failures "${drop} drop: status ${status}, expected 13\n")
  endif()
  # (CMake drops the CR of the window's CR LF pairs.)
  foreach(line "Protokoly a souhrn jsou ve slozce:\n${folder}\n" "[3/3] " "b&c.xml: lze odeslat")
    string(FIND "${console}" "${line}" at)
    if(at EQUAL -1)
      string(APPEND failures "the window of the ${drop} drop lacks: ${line}\n")
    endif()
  endforeach()
  foreach(report a.htm b&c.htm chybi.htm souhrn.csv souhrn.htm)
    if(NOT EXISTS "${WORK_DIR}/data dir/kontrola-ORV/${report}")
      string(APPEND failures "no ${report} in kontrola-ORV\n")
    endif()
  endforeach()
  if(failures)
    message(FATAL_ERROR "zkontroluj-soubory.cmd failed:\n${failures}\nwindow:\n${console}${console_err}")
  endif()
endforeach()
string(FIND "${console}" "Preskoceno: 5 souboru" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the second drop does not skip the results:\n${console}")
endif()

# A batch that cannot start (its results' folder cannot be made, a file is
# in its place) names no folder of results.
file(WRITE "${WORK_DIR}/blocked/kontrola-ORV" "a file")
configure_file(${SOURCE_DIR}/examples/priklad.xml "${WORK_DIR}/blocked/a.xml" COPYONLY)
windows_name("${WORK_DIR}/blocked/a.xml" blocked)
execute_process(COMMAND ${runner_list} cmd /c "${script}" "${blocked}"
                WORKING_DIRECTORY ${WORK_DIR} INPUT_FILE ${WORK_DIR}/enter.txt
                RESULT_VARIABLE status OUTPUT_VARIABLE console ERROR_VARIABLE console_err TIMEOUT 120)
string(FIND "${console}" "Protokoly a souhrn" at)
if(NOT status STREQUAL "13" OR NOT at EQUAL -1)
  message(FATAL_ERROR "a batch that could not start: status ${status}, window:\n${console}${console_err}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
