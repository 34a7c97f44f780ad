#pragma once
// The progress of a run: one line rewritten in place on a terminal, plain lines at
// most once a second otherwise.

#include <chrono>
#include <iosfwd>
#include <string>

class CActionThread;

class CProgressLine {
public:
    CProgressLine(std::ostream& out, bool terminal);

    void Show(const CActionThread& thread);
    // Shows the final state whatever the throttle says, and ends the line on a terminal so
    // later output starts on a line of its own.
    void End(const CActionThread& thread);

    // Percent done, files examined of total, files handled, size handled, folder.
    static std::string Text(const CActionThread& thread);

private:
    std::ostream& mOut;
    bool mTerminal;
    std::chrono::steady_clock::time_point mNextPlainLine{};
};
