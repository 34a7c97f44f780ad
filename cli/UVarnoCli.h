#pragma once
// varno-cli: the engine's runs, the volumes and the report files from a shell.

#include <string>
#include <vector>

class UVarnoCli {
public:
    // `words` without the program's name; answers the exit status.
    static int Main(const std::vector<std::string>& words);
};
