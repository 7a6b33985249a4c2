# Test of the code list generator (cmake/codelists_generate.cmake), run by
# CTest as a script: each case copies the sample lists into a scratch folder,
# replaces some files, runs the generator and looks for a text in its output
# source or in its error message.
#   cmake -DSOURCE_DIR=<project> -DWORK_DIR=<scratch> -P generate_test.cmake

cmake_minimum_required(VERSION 3.25)

set(lists legal_forms.txt districts.txt education.txt positions.txt employment_kinds.txt
          states.txt submitters.txt providers.txt occupations.txt)

# Runs the generator on the samples with the files given as NAME TEXT pairs
# replaced (TEXT "-" removes the file); sets ok, out (the source) and err.
function(generate)
  set(dir "${WORK_DIR}/lists")
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}")
  foreach(name IN LISTS lists)
    file(COPY "${SOURCE_DIR}/data/${name}" DESTINATION "${dir}")
  endforeach()
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args name text)
    if(text STREQUAL "-")
      file(REMOVE "${dir}/${name}")
    else()
      file(WRITE "${dir}/${name}" "${text}")
    endif()
  endwhile()
  file(REMOVE "${WORK_DIR}/codelists.cpp")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" "-DDATA_DIR=${dir}" "-DOUTPUT=${WORK_DIR}/codelists.cpp"
            -P "${SOURCE_DIR}/cmake/codelists_generate.cmake"
    RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
  set(out "")
  if(EXISTS "${WORK_DIR}/codelists.cpp")
    file(READ "${WORK_DIR}/codelists.cpp" out)
  endif()
  # The message as one line, whatever CMake's wrapping.
  string(REGEX REPLACE "[ \n]+" " " err "${err}")
  if(status EQUAL 0)
    set(ok TRUE PARENT_SCOPE)
  else()
    set(ok FALSE PARENT_SCOPE)
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_output case text)
  if(NOT ok)
    message(FATAL_ERROR "${case}: the generator failed: ${err}")
  endif()
  string(FIND "${out}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${case}: the generated source has no '${text}':\n${out}")
  endif()
endfunction()

function(expect_failure case text)
  if(ok)
    message(FATAL_ERROR "${case}: the generator accepted the lists")
  endif()
  string(FIND "${err}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${case}: the message does not say '${text}': ${err}")
  endif()
endfunction()

# Identification numbers with leading zeros, and zeros after them.
generate(submitters.txt "00231401\n45000123\n"
         providers.txt "00231401 00231401\n00300012 00231401\n00300101 0\n45000123 45000123\n")
expect_output(leading_zeros "TcisPred[] = {\n    231401u, 45000123u,\n}")
expect_output(leading_zeros "TcisPosPre[] = {\n    231401u, 300012u, 300101u, 45000123u,\n}")
expect_output(leading_zeros "TcisPrePos[] = {\n    231401u, 231401u, 0u, 45000123u,\n}")

# A register out of order stops the build naming the file and the entry.
generate(submitters.txt "20000006\n10000003\n")
expect_failure(descending "submitters.txt: '10000003' is not above the entry before it")

# So does a provider whose submitter is not registered.
generate(providers.txt "10000003 10000003\n20000006 20000006\n30000009 40000001\n")
expect_failure(unknown_submitter "providers.txt: submitter '40000001' of provider '30000009'")

# And a missing file.
generate(occupations.txt "-")
expect_failure(missing "occupations.txt: file missing")
