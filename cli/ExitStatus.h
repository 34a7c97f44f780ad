#pragma once
// The exit status of varno-cli.

enum ExitStatus : int {
    kExitFinished = 0,    // the run finished without errors, or the command did its work
    kExitErrors = 1,      // the run finished with errors, or a file could not be read
    kExitRefused = 2,     // the run was cancelled or refused
    kExitBadUsage = 64,   // the command line is wrong
};
