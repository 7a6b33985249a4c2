# quelt_core taken from another build folder (QUELT_CORE_FROM) instead of
# compiled here: this build then compiles only its code lists and the entry
# points, and links them with that folder's library. The other folder must be
# built first and with the same compiler, build type and instrumentation,
# which is checked against its cache: a library of another kind would link
# badly or not at all.

set(quelt_core_file
    "${QUELT_CORE_FROM}/${CMAKE_STATIC_LIBRARY_PREFIX}quelt_core${CMAKE_STATIC_LIBRARY_SUFFIX}")
if(NOT EXISTS "${QUELT_CORE_FROM}/CMakeCache.txt" OR NOT EXISTS "${quelt_core_file}")
  message(FATAL_ERROR "QUELT_CORE_FROM=${QUELT_CORE_FROM} is not a build folder with a built "
                      "quelt_core (no ${quelt_core_file}); build it first")
endif()

# Both caches are compared as they are: a toolchain file sets its compiler
# outside the cache, and is compared by its own name.
set(core_from_settings CMAKE_TOOLCHAIN_FILE CMAKE_CXX_COMPILER CMAKE_BUILD_TYPE
                       QUELT_SANITIZE QUELT_FUZZ)
load_cache("${QUELT_CORE_FROM}" READ_WITH_PREFIX core_from_ ${core_from_settings})
foreach(setting IN LISTS core_from_settings)
  if(NOT "${core_from_${setting}}" STREQUAL "$CACHE{${setting}}")
    message(FATAL_ERROR "QUELT_CORE_FROM=${QUELT_CORE_FROM} was built with "
                        "${setting}=${core_from_${setting}}, this build has $CACHE{${setting}}")
  endif()
endforeach()

add_library(quelt_core STATIC IMPORTED)
set_target_properties(quelt_core PROPERTIES IMPORTED_LOCATION "${quelt_core_file}")
target_include_directories(quelt_core INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/src
                                                ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quelt_core INTERFACE quelt_codelists)
