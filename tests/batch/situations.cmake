# The batch in the situations an office meets, each report still compared
# with a single quelt run of its file (common.cmake):
#   - a re-run into the same folder and a re-drop that selects the results'
#     folder too check the submissions again (-f xml reports are .xml files);
#   - a folder whose name begins with '@' is never a list;
#   - a submission named souhrn.csv in the output folder is never written
#     over (the batch stops before it checks anything);
#   - a name and values a spreadsheet would take as formulas;
#   - names that differ in the letter case of Czech and Cyrillic letters get
#     reports of their own; a name outside Windows-1250 is checked;
#   - an input named "..x" gets the report soubor.htm;
#   - Linux only: a FIFO and /dev/stdin are rows saying so, never read; a
#     folder "rep:" is a folder; a name that would be a link's scheme.
# Every input's bytes are compared before and after.
# Variables: QUELT, DAVKA, RUNNER, CRLF, SOURCE_DIR, WORK_DIR, NATIVE.

cmake_policy(SET CMP0007 NEW)  # a row keeps its empty cells
include(${CMAKE_CURRENT_LIST_DIR}/common.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(example ${SOURCE_DIR}/examples/priklad.xml)
set(cases ${SOURCE_DIR}/tests/golden/cases)
set(failures "")

# 1. The same folder as input and output, twice, with -f xml: the second run
# takes the first's .xml reports for what they are.
copy_as(${example} rerun/a.xml)
copy_as(${cases}/rule_el006_days_vs_years/in.xml rerun/b.xml)
foreach(round first second)
  run(${round} ${DAVKA} -f xml -o rerun rerun)
  expect_status(${round} 0)
  check_rows(rerun/souhrn.csv xml)
  expect_rows(rerun/souhrn.csv 2)
endforeach()
expect_said("${second_console}" "(protokol kontroly)" "Celkem 2 soubory: lze odeslat 1")
expect_example(rerun/a.xml)
if(EXISTS ${WORK_DIR}/rerun/a-3.xml)
  string(APPEND failures "the re-run moved a report to a-3.xml\n")
endif()

# 2. A drop of two files, then a drop of the same files and the results'
# folder (Ctrl+A in Explorer), as zkontroluj-soubory.cmd passes them.
copy_as(${example} drop/a.xml)
copy_as(${cases}/weight_w_written/w.xml drop/w.xml)
run(drop ${DAVKA} -o drop/kontrola-ORV drop/a.xml drop/w.xml)
expect_status(drop 0)
run(redrop ${DAVKA} -o drop/kontrola-ORV drop/a.xml drop/kontrola-ORV drop/w.xml)
expect_status(redrop 0)
check_rows(drop/kontrola-ORV/souhrn.csv htm)
expect_rows(drop/kontrola-ORV/souhrn.csv 2)
expect_said("${redrop_console}" "souhrn.csv (neni .xml)" "a.htm (neni .xml)" "Preskoceno: 4 soubory"
            "lze odeslat 1, s varovanimi 1")

# 3. A folder "@s" whose file a.xml is clean, beside a folder "s" whose a.xml
# names another file: @s/a.xml must be checked, not read as the list s/a.xml.
copy_as(${example} @s/a.xml)
file(WRITE ${WORK_DIR}/s/a.xml "other.xml\n")
copy_as(${cases}/doc_not_orv/other.xml other.xml)
run(at ${DAVKA} -j 1 -o at @s)
expect_status(at 0)
check_rows(at/souhrn.csv htm)
expect_said("${at_console}" "lze odeslat (chyb E 0, chyb W 0)")

# 4. A submission named souhrn.csv in the folder that is also the output.
copy_as(${example} out/a.xml)
copy_as(${example} out/souhrn.csv)
run(summary ${DAVKA} -o out out)
expect_status(summary 13)
expect_said("${summary_console}" "souhrn.csv  by prepsal vstupni soubor nebo podani ORV")
expect_example(out/souhrn.csv)
if(EXISTS ${WORK_DIR}/out/a.htm)
  string(APPEND failures "a batch that may not write its summary checked a file\n")
endif()

# 5. Formulas: a file name, the submitter's and an employer's number.
file(READ ${example} text)
string(REPLACE "<orv:ICOpredkladatele>10000003</orv:ICOpredkladatele>"
               "<orv:ICOpredkladatele>=2+5</orv:ICOpredkladatele>" text "${text}")
string(REPLACE "<orv:AA0017>30000009</orv:AA0017>" "<orv:AA0017>=cmd|' /C calc'!A0</orv:AA0017>"
               text "${text}")
file(WRITE ${WORK_DIR}/=1+2.xml "${text}")
file(WRITE ${WORK_DIR}/formula/@3.xml "${text}")
run(formula ${DAVKA} -o formula-out =1+2.xml formula)
set(names =1+2.xml formula/@3.xml)
if(CRLF)
  string(REPLACE "/" "\\" names "${names}")
endif()
check_rows(formula-out/souhrn.csv htm NAMES ${names})
file(READ ${WORK_DIR}/formula-out/souhrn.csv csv)
foreach(field "\n'=1+2.xml;'=2+5;'=cmd|' /C calc'!A0;" ";'=1+2.htm\n" ";'@3.htm\n")
  string(REPLACE "\r" "" csv "${csv}")
  string(FIND "${csv}" "${field}" at)
  if(at EQUAL -1)
    string(APPEND failures "souhrn.csv lacks ${field}:\n${csv}\n")
  endif()
endforeach()

# 6. Letter case: a faulty Šárka.xml and a clean šárka.xml, MZDY-ČERVEN.xml
# and mzdy-červen.xml, Cyrillic names, and a name Windows-1250 cannot write.
copy_as(${cases}/rule_el006_days_vs_years/in.xml case1/Šárka.xml)
copy_as(${example} case2/šárka.xml)
copy_as(${example} case1/mzdy-červen.xml)
copy_as(${cases}/weight_w_written/w.xml case2/MZDY-ČERVEN.xml)
copy_as(${example} case1/ШАБЛОН.xml)
copy_as(${cases}/rule_el006_days_vs_years/in.xml case2/шаблон.xml)
run(case ${DAVKA} -o case case1 case2)
expect_status(case 0)
set(names case1/mzdy-červen.xml case1/Šárka.xml case1/ШАБЛОН.xml case2/MZDY-ČERVEN.xml
          case2/šárka.xml case2/шаблон.xml)
if(CRLF)
  string(REPLACE "/" "\\" names "${names}")
endif()
check_rows(case/souhrn.csv htm NAMES ${names}
           REPORTS mzdy-červen.htm Šárka.htm ШАБЛОН.htm MZDY-ČERVEN-2.htm šárka-2.htm шаблон-2.htm)
file(READ ${WORK_DIR}/case/souhrn.htm page)
string(FIND "${page}" "href=\"%C5%A0%C3%A1rka.htm\"" at)
if(at EQUAL -1)
  string(APPEND failures "souhrn.htm does not link Šárka.htm by its UTF-8 bytes\n")
endif()

# 7. An input named "..x" gets the report soubor.htm, not "..htm".
copy_as(${example} dots/..x)
run(dots ${DAVKA} -o dots-out dots/..x)
expect_status(dots 0)
check_rows(dots-out/souhrn.csv htm)
if(NOT EXISTS ${WORK_DIR}/dots-out/soubor.htm)
  string(APPEND failures "the input ..x has no report soubor.htm\n")
endif()

if(NATIVE)
  # 8. A FIFO and /dev/stdin are never read: without a writer either would
  # wait for ever, and /dev/stdin of a worker is its own task pipe.
  execute_process(COMMAND mkfifo ${WORK_DIR}/fifo.xml)
  copy_as(${example} fifo-ok.xml)
  execute_process(COMMAND ${DAVKA} -j 2 -o fifo-out fifo.xml /dev/stdin fifo-ok.xml
                  WORKING_DIRECTORY ${WORK_DIR} TIMEOUT 60
                  RESULT_VARIABLE fifo_status OUTPUT_VARIABLE fifo_console ERROR_VARIABLE fifo_console)
  expect_status(fifo 13)
  expect_said("${fifo_console}" "Soubor  fifo.xml  neni bezny soubor (roura, zarizeni), necte se"
              "Soubor  /dev/stdin  neni bezny soubor" "fifo-ok.xml: lze odeslat")

  # 9. "rep:" is a folder of that name, and a name with a colon no scheme.
  copy_as(${example} "javascript:alert(document.title).xml")
  run(colon ${DAVKA} -o rep: "javascript:alert(document.title).xml")
  expect_status(colon 0)
  if(NOT EXISTS "${WORK_DIR}/rep:/javascript:alert(document.title).htm" OR EXISTS "${WORK_DIR}/rep:javascript:alert(document.title).htm")
    string(APPEND failures "-o rep: did not write into the folder rep:\n")
  endif()
  file(READ "${WORK_DIR}/rep:/souhrn.htm" page)
  string(FIND "${page}" "href=\"javascript%3Aalert%28document.title%29.htm\"" at)
  if(at EQUAL -1)
    string(APPEND failures "souhrn.htm links a name as a scheme:\n${page}\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "batch situations failed:\n${failures}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
