#pragma once
// "varno-cli clone" and "varno-cli restore": the main window's checks, then one action
// run of the engine with its progress on the terminal, and its report at the end.

class CCommandLine;

class URunCommand {
public:
    static int Clone(const CCommandLine& line);
    static int Restore(const CCommandLine& line);
};
