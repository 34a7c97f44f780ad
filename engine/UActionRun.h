#pragma once
// Runs an action thread to its end without windows, for the tests and a terminal
// front end: resumes the thread, runs the cooperative threads until it reports
// finished, then lets it end.

#include <functional>

class CActionThread;

class UActionRun {
public:
    // `progress` is called about every 15 ticks while the run goes on (to show the
    // counters, or to cancel the thread); `finished` once it has finished, while its
    // results may still be read and its log taken. Then the thread ends and is gone.
    static void RunToEnd(CActionThread* thread, const std::function<void(CActionThread&)>& progress,
                         const std::function<void(CActionThread&)>& finished);
};
