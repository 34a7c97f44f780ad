#pragma once
// While it lives, Ctrl-C (and a polite kill) only set a flag that the running command
// reads to cancel its thread as the Stop command does; a second one ends the program.

#include <signal.h>

class StInterruptHandler {
public:
    StInterruptHandler();
    ~StInterruptHandler();
    StInterruptHandler(const StInterruptHandler&) = delete;
    StInterruptHandler& operator=(const StInterruptHandler&) = delete;

    static bool Interrupted();

private:
    struct sigaction mOldInterrupt{};
    struct sigaction mOldTerminate{};
};
