#include "cli/UQuestion.h"

#include <unistd.h>

#include <iostream>

bool UQuestion::Confirm(const std::string& question, bool answeredYes)
{
    if (answeredYes)
        return true;
    std::cerr << "varno-cli: " << question;
    if (!isatty(STDIN_FILENO)) {
        std::cerr << "\nNot confirmed: give --yes to go on.\n";
        return false;
    }
    std::cerr << " Go on? [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}
