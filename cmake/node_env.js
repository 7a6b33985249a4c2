// The command line under Node (quelt.js, --pre-js of cmake/web.cmake; not
// part of the page): the run sees the process's environment, so that
// SOURCE_DATE_EPOCH fixes the report head's date and time. ENV, filled in a
// preRun function, is Emscripten's documented way to set the environment.
Module["preRun"] = [function () { Object.assign(ENV, process.env); }];
