# Golden end-to-end cases: every folder under cases/ is one CTest test that
# runs the checker in a scratch copy of the folder and compares its outputs
# byte for byte. Adding a case needs no code; the folder's README says how.

set(QUELT_GOLDEN_RUNNER "" CACHE STRING
    "Command that runs the checker binary (for example wine for a Windows build)")
set(QUELT_GOLDEN_CRLF OFF CACHE BOOL
    "The checker writes CR LF line ends (Windows): compare after that one difference")

file(GLOB QUELT_GOLDEN_CASES LIST_DIRECTORIES true CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/golden/cases/*)
foreach(case_dir ${QUELT_GOLDEN_CASES})
  if(IS_DIRECTORY ${case_dir} AND EXISTS ${case_dir}/args)
    get_filename_component(case_name ${case_dir} NAME)
    add_test(NAME golden.${case_name}
             COMMAND ${CMAKE_COMMAND}
                     -DQUELT=$<TARGET_FILE:quelt>
                     -DRUNNER=${QUELT_GOLDEN_RUNNER}
                     -DCRLF=${QUELT_GOLDEN_CRLF}
                     -DCASE_DIR=${case_dir}
                     -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/golden/${case_name}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/golden/run_case.cmake)
  endif()
endforeach()
