#pragma once
// The questions the main window asks before a run, on a terminal: answered by the
// user, or in advance with --yes; without a terminal and without --yes the answer is no.

#include <string>

class UQuestion {
public:
    static bool Confirm(const std::string& question, bool answeredYes);
};
