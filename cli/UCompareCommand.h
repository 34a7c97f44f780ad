#pragma once
// "varno-cli compare FIRST SECOND": the differences of two volumes or folders as the
// compare window's outline, with its markers as characters.

class CCommandLine;

class UCompareCommand {
public:
    static int Run(const CCommandLine& line);
};
