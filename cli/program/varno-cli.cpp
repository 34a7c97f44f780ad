#include "cli/UVarnoCli.h"

int main(int argc, char** argv)
{
    return UVarnoCli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
