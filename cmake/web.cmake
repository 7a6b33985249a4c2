# The WebAssembly builds, made with Emscripten (emcmake cmake ...; see
# scripts/build-web.sh), from the same core as build/quelt:
# - quelt.js (and quelt.wasm): the command line under Node, with the same
#   arguments, files, statuses and bytes, real files through Node's own file
#   system; the process's environment is passed in (SOURCE_DATE_EPOCH);
# - quelt_web.js (and quelt_web.wasm): the module the web page's worker runs,
#   reading the chosen files where they lie (WORKERFS).

# The page uses internals of the Emscripten it was tested with (all of them
# in web/emscripten.js, which says which and why); another version may have
# changed any of them, and the browser test is what tells. A build with
# another version stops here unless QUELT_EMSCRIPTEN_ACCEPT names it.
set(QUELT_EMSCRIPTEN_TESTED 3.1.6)
set(QUELT_EMSCRIPTEN_ACCEPT "" CACHE STRING
    "An Emscripten version other than the tested one to build the page with anyway, at one's own risk")
if(NOT EMSCRIPTEN_VERSION STREQUAL QUELT_EMSCRIPTEN_TESTED
   AND NOT EMSCRIPTEN_VERSION STREQUAL QUELT_EMSCRIPTEN_ACCEPT)
  message(FATAL_ERROR
    "Emscripten ${EMSCRIPTEN_VERSION}: the web page has been tested with Emscripten "
    "${QUELT_EMSCRIPTEN_TESTED} only, and relies on its internals (web/emscripten.js says which). "
    "Build with ${QUELT_EMSCRIPTEN_TESTED}, or accept this version at your own risk with "
    "-DQUELT_EMSCRIPTEN_ACCEPT=${EMSCRIPTEN_VERSION} (scripts/build-web.sh: the variable "
    "QUELT_EMSCRIPTEN_ACCEPT=${EMSCRIPTEN_VERSION}) and run the browser test; if it passes, "
    "make ${EMSCRIPTEN_VERSION} the tested version in cmake/web.cmake.")
endif()

# The memory grows as the run needs it (the register of a large employer).
set(QUELT_WEB_MEMORY -sALLOW_MEMORY_GROWTH=1)

# Node 20 has fetch, which the loader would try for quelt.wasm; compiling the
# module synchronously reads it from disk instead.
set(QUELT_NODE_ENV ${CMAKE_CURRENT_SOURCE_DIR}/cmake/node_env.js)
target_link_options(quelt PRIVATE
  -sNODERAWFS=1 -sENVIRONMENT=node -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1
  ${QUELT_WEB_MEMORY} --pre-js ${QUELT_NODE_ENV})
set_property(TARGET quelt APPEND PROPERTY LINK_DEPENDS ${QUELT_NODE_ENV})

# The page's worker runs one of two builds of the same module, by what the
# browser can do (web/engine.js): quelt_web where the browser can suspend
# WebAssembly while a promise settles (JSPI), quelt_web_asyncify elsewhere, the
# same code rewritten by Emscripten's Asyncify so that a read of the input can
# wait for the page's next block. web/emscripten.js, inside the module, makes
# the C library's read wait and calls main; exports.js keeps the module's
# import and export names, which an optimised build would shorten.
set(QUELT_WEB_PRE ${CMAKE_CURRENT_SOURCE_DIR}/web/emscripten.js)
set(QUELT_WEB_OPTIONS
  -sENVIRONMENT=worker -sMODULARIZE=1 -sEXPORT_NAME=createQuelt -sINVOKE_RUN=0
  ${QUELT_WEB_MEMORY} -lworkerfs.js -lexports.js --pre-js ${QUELT_WEB_PRE}
  "-sEXPORTED_FUNCTIONS=[_main,_quelt_obrazovka,_quelt_obrazovka_delka,_quelt_verdikt,_quelt_prehled]"
  "-sEXPORTED_RUNTIME_METHODS=[FS,stackSave,stackRestore,stackAlloc]")

add_executable(quelt_web ${CMAKE_CURRENT_SOURCE_DIR}/src/entry/web_main.cpp)
target_link_libraries(quelt_web PRIVATE quelt_core)
target_link_options(quelt_web PRIVATE ${QUELT_WEB_OPTIONS})

# Asyncify instruments every function that a read of the input may be under;
# the import must be named with its module (a bare fd_read would mean
# env.fd_read). It takes any indirect call for one that may wait, so on its
# own it would instrument some ninety functions, the per-element checks among
# them (through operator new, printf and the C library's stream functions),
# which makes the module larger and the check slower (bench/README.md has the
# figures). asyncify_remove.json names the C and C++ library functions that
# hold such calls but never read the input (writing, flushing, closing,
# allocating, the list file's getc): without them the analysis keeps exactly
# main, the mode handlers that read and the element reader down to the read,
# and any new caller of the reader is found by itself. The unwound stack of
# main down to the read needs more than the default 4 KB.
set(QUELT_ASYNCIFY_REMOVE ${CMAKE_CURRENT_SOURCE_DIR}/cmake/asyncify_remove.json)
add_executable(quelt_web_asyncify ${CMAKE_CURRENT_SOURCE_DIR}/src/entry/web_main.cpp)
target_link_libraries(quelt_web_asyncify PRIVATE quelt_core)
target_link_options(quelt_web_asyncify PRIVATE ${QUELT_WEB_OPTIONS}
  -sASYNCIFY=1 "-sASYNCIFY_IMPORTS=[wasi_snapshot_preview1.fd_read]" -sASYNCIFY_STACK_SIZE=65536
  -sASYNCIFY_REMOVE=@${QUELT_ASYNCIFY_REMOVE})

set_property(TARGET quelt_web quelt_web_asyncify APPEND PROPERTY LINK_DEPENDS ${QUELT_WEB_PRE})
set_property(TARGET quelt_web_asyncify APPEND PROPERTY LINK_DEPENDS ${QUELT_ASYNCIFY_REMOVE})
