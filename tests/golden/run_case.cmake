# Runs one golden case. A case folder holds:
#   args        the command-line arguments, one a line ("<empty>" for an empty one)
#   status      the expected exit status (default 0)
#   expected/   files the run must write, each compared byte for byte; a file
#               equal to the case's input of the same name is an input the run
#               must leave as it was (compared raw, even where CRLF is on)
#   console     optional: lines that must each appear in the console output
#   setup.sh    optional: run first in the scratch folder (makes large inputs)
#   absent      optional: names of files the run must not create, one a line
# Every other file of the folder is an input, copied to the scratch folder.
# SOURCE_DATE_EPOCH is fixed, so the report heads carry a fixed date.

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(GLOB inputs LIST_DIRECTORIES true ${CASE_DIR}/*)
foreach(item ${inputs})
  get_filename_component(name ${item} NAME)
  if(NOT name MATCHES "^(args|status|expected|console|absent|README.md)$")
    file(COPY ${item} DESTINATION ${WORK_DIR})
  endif()
endforeach()

if(EXISTS ${CASE_DIR}/setup.sh)
  execute_process(COMMAND bash ${CASE_DIR}/setup.sh WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE setup_result)
  if(NOT setup_result EQUAL 0)
    message(FATAL_ERROR "setup.sh failed: ${setup_result}")
  endif()
endif()

file(STRINGS ${CASE_DIR}/args arg_lines)
set(arguments "")
foreach(line ${arg_lines})
  if(line STREQUAL "<empty>")
    list(APPEND arguments "")
  else()
    list(APPEND arguments "${line}")
  endif()
endforeach()

set(expected_status 0)
if(EXISTS ${CASE_DIR}/status)
  file(STRINGS ${CASE_DIR}/status expected_status LIMIT_COUNT 1)
endif()

set(ENV{SOURCE_DATE_EPOCH} 1278403200)
set(command ${QUELT})
if(RUNNER)
  separate_arguments(runner_list UNIX_COMMAND "${RUNNER}")
  set(command ${runner_list} ${QUELT})
endif()
# The console goes to a variable, except on Windows: CMake drops the CR of
# CR LF pairs from a captured variable, so there it goes to a file beside the
# scratch folder, read back byte for byte below.
set(console_capture OUTPUT_VARIABLE console)
set(console_file ${WORK_DIR}.console)
if(CRLF)
  set(console_capture OUTPUT_FILE ${console_file})
endif()
execute_process(COMMAND ${command} ${arguments}
                WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE status
                ${console_capture}
                ERROR_VARIABLE console_err)

set(failures "")
if(NOT status STREQUAL expected_status)
  string(APPEND failures "exit status ${status}, expected ${expected_status}\n")
endif()

# Reads a file as hex. When CRLF is on (a Windows build writes its text files
# in text mode), every line feed must come as CR LF: a bare LF sets bare_lf,
# and the CR of each pair is dropped so that the rest compares with the Linux
# bytes. The pairs are matched on byte
# boundaries (a comma after each byte), never across two bytes' digits.
function(read_normalised path out bare_lf)
  file(READ ${path} hex HEX)
  set(bare FALSE)
  if(CRLF)
    string(REGEX REPLACE "(..)" "\\1," hex "${hex}")
    string(REPLACE "0d,0a," "crlf," hex "${hex}")
    string(FIND "${hex}" "0a," lone)
    if(NOT lone EQUAL -1)
      set(bare TRUE)
    endif()
    string(REPLACE "crlf," "0a," hex "${hex}")
    string(REPLACE "," "" hex "${hex}")
  endif()
  set(${out} "${hex}" PARENT_SCOPE)
  set(${bare_lf} ${bare} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE expected_files RELATIVE ${CASE_DIR}/expected ${CASE_DIR}/expected/*)
foreach(rel ${expected_files})
  if(NOT EXISTS ${WORK_DIR}/${rel})
    string(APPEND failures "missing output ${rel}\n")
    continue()
  endif()
  file(READ ${CASE_DIR}/expected/${rel} want HEX)
  set(kept_input FALSE)
  if(EXISTS ${CASE_DIR}/${rel} AND NOT IS_DIRECTORY ${CASE_DIR}/${rel})
    file(READ ${CASE_DIR}/${rel} given HEX)
    if(given STREQUAL want)
      set(kept_input TRUE)
    endif()
  endif()
  if(kept_input)
    file(READ ${WORK_DIR}/${rel} got HEX)
    set(bare_lf FALSE)
  else()
    read_normalised(${WORK_DIR}/${rel} got bare_lf)
  endif()
  if(bare_lf)
    string(APPEND failures "output ${rel} has a line feed without carriage return\n")
  endif()
  if(NOT want STREQUAL got)
    string(APPEND failures "output ${rel} differs from expected/${rel}\n")
    execute_process(COMMAND diff -a ${CASE_DIR}/expected/${rel} ${WORK_DIR}/${rel}
                    OUTPUT_VARIABLE difference)
    string(APPEND failures "${difference}\n")
  endif()
endforeach()

if(EXISTS ${CASE_DIR}/absent)
  file(STRINGS ${CASE_DIR}/absent absent_files)
  foreach(rel ${absent_files})
    if(EXISTS ${WORK_DIR}/${rel})
      string(APPEND failures "the run created ${rel}, which it must not\n")
    endif()
  endforeach()
endif()

# The console is a text stream too: on Windows its lines end in CR LF.
if(CRLF)
  read_normalised(${console_file} ignored bare_lf)
  if(bare_lf)
    string(APPEND failures "console has a line feed without carriage return\n")
  endif()
  file(READ ${console_file} console)
  string(REPLACE "\r\n" "\n" console "${console}")
endif()

if(EXISTS ${CASE_DIR}/console)
  file(STRINGS ${CASE_DIR}/console console_lines)
  foreach(line ${console_lines})
    string(FIND "${console}" "${line}" at)
    if(at EQUAL -1)
      string(APPEND failures "console lacks: ${line}\n")
    endif()
  endforeach()
endif()

if(failures)
  message(FATAL_ERROR "golden case ${CASE_DIR} failed:\n${failures}\nconsole:\n${console}${console_err}")
endif()
