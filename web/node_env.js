// Command line under Node: the run sees the process's environment
// (SOURCE_DATE_EPOCH fixes the report head's date and time).
Module["preRun"] = [function () { Object.assign(ENV, process.env); }];
