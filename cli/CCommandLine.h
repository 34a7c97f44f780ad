#pragma once
// The words of a varno-cli command line: the command, its operands and its options.
// Each command accepts a fixed set of options; "--name value" and "--name=value" both
// give a value, and "--" ends the options.

#include <map>
#include <string>
#include <vector>

class CCommandLine {
public:
    struct Option {
        const char* name; // without the leading "--"
        bool takesValue;
    };
    struct Command {
        const char* name;
        int operands;
        std::vector<Option> options;
    };

    // False, with the reason in mError, when the words do not make a valid command.
    bool Parse(const std::vector<std::string>& words, const std::vector<Command>& commands);

    bool Has(const std::string& option) const { return mOptions.count(option) != 0; }
    std::string Value(const std::string& option) const;

    std::string mCommand;
    std::vector<std::string> mOperands;
    std::map<std::string, std::string> mOptions;
    std::string mError;

private:
    bool Fail(const std::string& reason);
};
