#include "cli/CCommandLine.h"

#include <algorithm>

bool CCommandLine::Fail(const std::string& reason)
{
    mError = reason;
    return false;
}

std::string CCommandLine::Value(const std::string& option) const
{
    const auto found = mOptions.find(option);
    return found == mOptions.end() ? std::string() : found->second;
}

bool CCommandLine::Parse(const std::vector<std::string>& words, const std::vector<Command>& commands)
{
    if (words.empty())
        return Fail("no command given");
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command& c) { return words[0] == c.name; });
    if (command == commands.end())
        return Fail("unknown command \"" + words[0] + "\"");
    mCommand = words[0];

    bool optionsEnded = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            mOperands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const auto option = std::find_if(command->options.begin(), command->options.end(),
                                         [&](const Option& o) { return name == o.name; });
        if (option == command->options.end())
            return Fail("\"" + mCommand + "\" has no option --" + name);
        if (mOptions.count(name))
            return Fail("option --" + name + " given twice");
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return Fail("option --" + name + " takes no value");
            mOptions[name];
        } else if (equals != std::string::npos) {
            mOptions[name] = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            mOptions[name] = words[++i];
        } else {
            return Fail("option --" + name + " needs a value");
        }
        if (option->takesValue && mOptions[name].empty())
            return Fail("option --" + name + " needs a value");
    }
    if (int(mOperands.size()) != command->operands)
        return Fail("\"" + mCommand + "\" takes " + std::to_string(command->operands) + " operand" +
                    (command->operands == 1 ? "" : "s"));
    return true;
}
