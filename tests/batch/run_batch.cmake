# The batch program against single runs. In a scratch folder it makes two
# folders holding the same file names, an empty, a binary, a non-ORV and a
# missing file, a name of more than 60 characters and a folder that is
# both input and output, runs quelt-davka on them and checks:
#   - every report is, byte for byte, what `quelt NAME REPORT` writes run in
#     the same folder (the long name: its report head shows the whole name);
#   - every summary row's status, E and W agree with that single run, and a
#     failed run's message is the one quelt printed;
#   - souhrn.csv is expected/souhrn.csv (after CR LF on Windows);
#   - no input and no existing submission was written over.
# Variables: QUELT, DAVKA (the programs), RUNNER (e.g. wine), CRLF (ON for a
# Windows build), SOURCE_DIR, WORK_DIR, NATIVE (ON: Czech names in
# Windows-1250 bytes and an unreadable file too, which need Linux's names).

cmake_policy(SET CMP0007 NEW)  # a row keeps its empty cells
set(ENV{SOURCE_DATE_EPOCH} 1278403200)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(cases ${SOURCE_DIR}/tests/golden/cases)
set(failures "")

function(copy_as from to)
  configure_file(${from} ${WORK_DIR}/${to} COPYONLY)
endfunction()

copy_as(${SOURCE_DIR}/examples/priklad.xml p1/a.xml)
copy_as(${cases}/rule_el006_days_vs_years/in.xml p1/b.xml)
copy_as(${cases}/tel_duplicate_in_file/in.xml p2/a.xml)
copy_as(${cases}/walk_header_two_autor/in.xml p2/b.xml)
copy_as(${cases}/group_three_records/in.xml p2/podslozka/c.xml)
copy_as(${cases}/doc_empty_file/empty.xml empty.xml)
copy_as(${SOURCE_DIR}/tests/batch/random.bin random.bin)
copy_as(${cases}/doc_not_orv/other.xml other.xml)
copy_as(${cases}/weight_w_written/w.xml w.xml)
copy_as(${cases}/weight_w_written/w.xml @w.xml)
set(long_name "soubor-s-jmenem-delsim-nez-sedesat-znaku-ktere-quelt-odmita.xml")
copy_as(${SOURCE_DIR}/examples/priklad.xml ${long_name})
# A folder both input and output: a submission named like a report, and an
# input whose report name would be itself.
copy_as(${SOURCE_DIR}/examples/priklad.xml q/c.xml)
copy_as(${SOURCE_DIR}/examples/priklad.xml q/c.htm)
copy_as(${SOURCE_DIR}/examples/priklad.xml q/d.htm)
file(READ ${SOURCE_DIR}/examples/priklad.xml example_hex HEX)

# Runs a program in the scratch folder; sets <prefix>_status and _console.
function(run prefix)
  set(command ${ARGN})
  if(RUNNER)
    separate_arguments(runner_list UNIX_COMMAND "${RUNNER}")
    set(command ${runner_list} ${ARGN})
  endif()
  execute_process(COMMAND ${command} WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE status OUTPUT_VARIABLE console ERROR_VARIABLE console_err)
  set(${prefix}_status "${status}" PARENT_SCOPE)
  set(${prefix}_console "${console}${console_err}" PARENT_SCOPE)
endfunction()

# Checks each row of a summary against a single run of its file.
#   summary: the summary's path; ext: the report extension; ARGN: quelt's switches
function(check_rows summary ext)
  # The rows are cut at line ends by hand: file(STRINGS) keeps ASCII only,
  # and a Czech name is Windows-1250. A row is a CMake list as it stands.
  file(READ ${WORK_DIR}/${summary} text)
  string(REPLACE "\r" "" text "${text}")
  get_filename_component(folder ${summary} DIRECTORY)
  set(fails "")
  string(FIND "${text}" "\n" end)
  math(EXPR start "${end} + 1")
  string(SUBSTRING "${text}" ${start} -1 text)
  while(NOT text STREQUAL "")
    string(FIND "${text}" "\n" end)
    string(SUBSTRING "${text}" 0 ${end} row)
    math(EXPR start "${end} + 1")
    string(SUBSTRING "${text}" ${start} -1 text)
    set(cells "${row}")
    list(LENGTH cells n)
    if(NOT n EQUAL 9)
      string(APPEND fails "row of ${n} cells: ${row}\n")
      continue()
    endif()
    list(GET cells 0 name)
    list(GET cells 4 e)
    list(GET cells 5 w)
    list(GET cells 6 status)
    list(GET cells 7 message)
    list(GET cells 8 report)
    set(input "${name}")
    string(LENGTH "${name}" length)
    if(length GREATER 60)
      configure_file(${WORK_DIR}/${name} ${WORK_DIR}/kratke.xml COPYONLY)
      set(input kratke.xml)
    endif()
    file(REMOVE ${WORK_DIR}/reference.${ext})
    run(single ${QUELT} "${input}" reference.${ext} ${ARGN})
    if(NOT single_status STREQUAL status)
      string(APPEND fails "${name}: status ${status} in the summary, ${single_status} alone\n")
    endif()
    if(status STREQUAL "0")
      string(REGEX MATCH "Celkem chyb vahy E: *([0-9]+)" m "${single_console}")
      set(single_e ${CMAKE_MATCH_1})
      string(REGEX MATCH "Celkem chyb vahy W: *([0-9]+)" m "${single_console}")
      if(NOT "${single_e}/${CMAKE_MATCH_1}" STREQUAL "${e}/${w}")
        string(APPEND fails "${name}: E/W ${e}/${w} in the summary, ${single_e}/${CMAKE_MATCH_1} alone\n")
      endif()
    else()
      string(FIND "${single_console}" "${message}" at)
      if(message STREQUAL "" OR at EQUAL -1)
        string(APPEND fails "${name}: message '${message}' is not what quelt printed:\n${single_console}\n")
      endif()
    endif()
    if(NOT EXISTS ${WORK_DIR}/${folder}/${report})
      string(APPEND fails "${name}: no report ${folder}/${report}\n")
      continue()
    endif()
    file(READ ${WORK_DIR}/reference.${ext} want HEX)
    if(NOT input STREQUAL name)
      string(HEX "${input}" short_hex)
      string(HEX "${name}" long_hex)
      string(REPLACE "${short_hex}" "${long_hex}" want "${want}")
    endif()
    file(READ ${WORK_DIR}/${folder}/${report} got HEX)
    if(NOT want STREQUAL got)
      string(APPEND fails "${name}: report ${folder}/${report} differs from quelt's\n")
    endif()
  endwhile()
  set(failures "${failures}${fails}" PARENT_SCOPE)
endfunction()

function(read_normalised path out)
  file(READ ${path} hex HEX)
  if(CRLF)
    string(REGEX REPLACE "(..)" "\\1," hex "${hex}")
    string(REPLACE "0d,0a," "0a," hex "${hex}")
    string(REPLACE "," "" hex "${hex}")
  endif()
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# 1. Many files over worker processes, every kind of input.
run(batch ${DAVKA} -j 3 -o vysledky p1 p2 empty.xml random.bin other.xml chybi.xml ${long_name})
if(NOT batch_status STREQUAL "13")
  string(APPEND failures "batch: status ${batch_status}, expected 13 (a file is missing)\n")
endif()
string(FIND "${batch_console}" "[9/9] " at)
if(at EQUAL -1)
  string(APPEND failures "batch: console lacks the line of the ninth file:\n${batch_console}\n")
endif()
check_rows(vysledky/souhrn.csv htm)
read_normalised(${WORK_DIR}/vysledky/souhrn.csv got)
# Windows joins a folder and a file name with a backslash.
file(READ ${SOURCE_DIR}/tests/batch/expected/souhrn.csv want)
if(CRLF)
  string(REPLACE "/" "\\" want "${want}")
endif()
string(HEX "${want}" want)
if(NOT want STREQUAL got)
  execute_process(COMMAND diff -a ${SOURCE_DIR}/tests/batch/expected/souhrn.csv
                          ${WORK_DIR}/vysledky/souhrn.csv OUTPUT_VARIABLE difference)
  string(APPEND failures "souhrn.csv differs from expected/souhrn.csv\n${difference}\n")
endif()
file(READ ${WORK_DIR}/vysledky/souhrn.htm page)
foreach(piece "<html lang=\"cs\">" "<th scope=\"col\">Soubor</th>" "<a href=\"a-2.htm\">a-2.htm</a>"
              "<th scope=\"row\">chybi.xml</th>")
  string(FIND "${page}" "${piece}" at)
  if(at EQUAL -1)
    string(APPEND failures "souhrn.htm lacks ${piece}\n")
  endif()
endforeach()

# 2. One process checking file after file (-j 1), another format and -w.
# A name beginning with '@' is the file, not a list.
run(one ${DAVKA} -j 1 -f csv -w -o csv p1 w.xml p2 @w.xml)
if(NOT one_status STREQUAL "0")
  string(APPEND failures "-j 1 batch: status ${one_status}, expected 0\n${one_console}\n")
endif()
check_rows(csv/souhrn.csv csv -w)

# 3. The output folder is the input folder: no input, no submission is
# written over; the reports take other names.
run(same ${DAVKA} -o q q)
check_rows(q/souhrn.csv htm)
foreach(kept q/c.xml q/c.htm q/d.htm)
  file(READ ${WORK_DIR}/${kept} hex HEX)
  if(NOT hex STREQUAL example_hex)
    string(APPEND failures "${kept} was written over\n")
  endif()
endforeach()
foreach(report q/c-2.htm q/d-2.htm)
  if(NOT EXISTS ${WORK_DIR}/${report})
    string(APPEND failures "no report ${report}\n")
  endif()
endforeach()

# 4. Linux only: Czech names as Windows-1250 bytes, an unreadable file.
if(NATIVE)
  string(ASCII 232 c_caron)
  string(ASCII 248 r_caron)
  string(ASCII 225 a_acute)
  set(czech "${c_caron}${r_caron}${a_acute}d.xml")
  configure_file(${SOURCE_DIR}/examples/priklad.xml ${WORK_DIR}/cz/${czech} COPYONLY)
  # Reading a process's own memory from its start fails for every user.
  run(native ${DAVKA} -o cz cz /proc/self/mem)
  if(NOT native_status STREQUAL "13")
    string(APPEND failures "Czech and unreadable batch: status ${native_status}, expected 13\n")
  endif()
  check_rows(cz/souhrn.csv htm)
  if(NOT EXISTS ${WORK_DIR}/cz/${c_caron}${r_caron}${a_acute}d.htm)
    string(APPEND failures "no report named after the Czech name\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "batch test failed:\n${failures}\nconsole of the first batch:\n${batch_console}")
endif()
