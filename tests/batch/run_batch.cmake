# The batch program against single runs. In a scratch folder it makes two
# folders holding the same file names (and a file that is no .xml), an
# empty, a binary, a non-ORV and a missing file, a name of more than 60
# characters, a name beginning with '@' and a folder that is both input and
# output, runs quelt-davka on them and checks:
#   - every report is, byte for byte, what `quelt NAME REPORT` writes run in
#     the same folder (the long name: its report head shows the whole name);
#   - every summary row's status, E, W and verdict agree with that single
#     run, and a failed run's message is the one quelt printed;
#   - souhrn.csv is expected/souhrn.csv (after CR LF on Windows), and
#     souhrn.htm marks each row's verdict;
#   - no input and no existing submission was written over, also when the
#     batch runs again into the folder it reads.
# Variables: QUELT, DAVKA (the programs), RUNNER (e.g. wine), CRLF (ON for a
# Windows build), SOURCE_DIR, WORK_DIR, NATIVE (ON: Czech names in
# Windows-1250 bytes and an unreadable file too, which need Linux's names).

cmake_policy(SET CMP0007 NEW)  # a row keeps its empty cells
include(${CMAKE_CURRENT_LIST_DIR}/common.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(cases ${SOURCE_DIR}/tests/golden/cases)
set(failures "")

copy_as(${SOURCE_DIR}/examples/priklad.xml p1/a.xml)
copy_as(${cases}/rule_el006_days_vs_years/in.xml p1/b.xml)
copy_as(${cases}/tel_duplicate_in_file/in.xml p2/a.xml)
copy_as(${cases}/walk_header_two_autor/in.xml p2/b.xml)
copy_as(${cases}/group_three_records/in.xml p2/podslozka/c.xml)
file(WRITE ${WORK_DIR}/p2/poznamky.pdf "not a submission")
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
set(sep "/")
if(CRLF)
  set(sep "\\")
endif()

# 1. Many files over worker processes, every kind of input.
run(batch ${DAVKA} -j 3 -o vysledky p1 p2 empty.xml random.bin other.xml chybi.xml ${long_name})
expect_status(batch 13)  # a file is missing
expect_said("${batch_console}" "[9/9] " "preskocen: p2${sep}poznamky.pdf (neni .xml)"
            "Celkem 9 souboru: lze odeslat 2, s varovanimi 0, opravit 6, nezkontrolovano 1")
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
              "<tr data-verdict=\"incomplete\"><th scope=\"row\">chybi.xml</th>"
              "<tr data-verdict=\"ok\"><th scope=\"row\">p1${sep}a.xml</th>"
              "<tr data-verdict=\"errors\"><th scope=\"row\">empty.xml</th>"
              "Celkem 9 soubor" "<p>Kontrola skon")
  string(FIND "${page}" "${piece}" at)
  if(at EQUAL -1)
    string(APPEND failures "souhrn.htm lacks ${piece}\n")
  endif()
endforeach()

# 2. One worker checking file after file (-j 1), another format and -w; a
# warning alone. A name beginning with '@' is the file, not a list.
run(one ${DAVKA} -j 1 -f csv -w -o csv p1 w.xml p2 @w.xml)
expect_status(one 0)
check_rows(csv/souhrn.csv csv SWITCHES -w)

# 3. The output folder is the input folder, all files (-a), twice: no input,
# no submission is written over; the reports take other names, the second
# run the same ones, and neither the reports nor the summary of the first
# are inputs of the second.
foreach(round first second)
  run(same ${DAVKA} -a -o q q)
  if(NOT same_status STREQUAL "0")
    string(APPEND failures "${round} run into its input folder: status ${same_status}\n${same_console}\n")
  endif()
  check_rows(q/souhrn.csv htm)
  expect_rows(q/souhrn.csv 3)
  foreach(kept q/c.xml q/c.htm q/d.htm)
    expect_example(${kept})
  endforeach()
  foreach(report q/c-2.htm q/c-3.htm q/d-2.htm)
    if(NOT EXISTS ${WORK_DIR}/${report})
      string(APPEND failures "${round} run: no report ${report}\n")
    endif()
  endforeach()
endforeach()
if(EXISTS ${WORK_DIR}/q/c-4.htm OR EXISTS ${WORK_DIR}/q/d-3.htm)
  string(APPEND failures "the second run moved its reports to other names\n")
endif()

# 4. Linux only: Czech names as Windows-1250 bytes, an unreadable file.
if(NATIVE)
  string(ASCII 232 c_caron)
  string(ASCII 248 r_caron)
  string(ASCII 225 a_acute)
  set(czech "${c_caron}${r_caron}${a_acute}d.xml")
  configure_file(${SOURCE_DIR}/examples/priklad.xml ${WORK_DIR}/cz/${czech} COPYONLY)
  # Reading a process's own memory from its start fails for every user.
  run(native ${DAVKA} -o cz cz /proc/self/mem)
  expect_status(native 13)
  check_rows(cz/souhrn.csv htm)
  if(NOT EXISTS ${WORK_DIR}/cz/${c_caron}${r_caron}${a_acute}d.htm)
    string(APPEND failures "no report named after the Czech name\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "batch test failed:\n${failures}\nconsole of the first batch:\n${batch_console}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
