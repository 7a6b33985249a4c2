# Code lists and registers of the campaign: the text files in QUELT_DATA_DIR
# become one generated C++ source of constant tables, remade whenever a file
# changes, compiled into the library quelt_codelists. The generator is a CMake
# script, so the build needs nothing beyond CMake itself and runs it on the
# build host in a cross build too.
#
# The tables are a library of their own, apart from the checker's code
# (quelt_core), so that a build with another folder's lists can link the code
# another build compiled and tested (QUELT_CORE_FROM in the top CMakeLists).

set(QUELT_CODELIST_FILES
    legal_forms.txt districts.txt education.txt positions.txt employment_kinds.txt
    states.txt submitters.txt providers.txt occupations.txt)

set(quelt_codelist_paths "")
list(JOIN QUELT_CODELIST_FILES ", " quelt_codelist_names)
foreach(name IN LISTS QUELT_CODELIST_FILES)
  if(NOT EXISTS "${QUELT_DATA_DIR}/${name}")
    message(FATAL_ERROR "QUELT_DATA_DIR=${QUELT_DATA_DIR} has no ${name}; "
                        "the folder must hold all of: ${quelt_codelist_names}")
  endif()
  list(APPEND quelt_codelist_paths "${QUELT_DATA_DIR}/${name}")
endforeach()

set(quelt_codelist_source "${CMAKE_CURRENT_BINARY_DIR}/generated/codelists.cpp")
add_custom_command(
  OUTPUT "${quelt_codelist_source}"
  COMMAND "${CMAKE_COMMAND}" "-DDATA_DIR=${QUELT_DATA_DIR}" "-DOUTPUT=${quelt_codelist_source}"
          -P "${CMAKE_CURRENT_LIST_DIR}/codelists_generate.cmake"
  DEPENDS ${quelt_codelist_paths} "${CMAKE_CURRENT_LIST_DIR}/codelists_generate.cmake"
  COMMENT "Making the code lists from ${QUELT_DATA_DIR}"
  VERBATIM)
add_library(quelt_codelists STATIC "${quelt_codelist_source}")
target_include_directories(quelt_codelists PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
