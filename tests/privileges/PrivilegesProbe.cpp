// Runs as the application's executable inside a test package and prints, in order,
// the answer to each question named on its command line: "init", "tool", "app",
// "register-app", as "name=answer" lines.

#include <cstdio>
#include <cstring>

#include "privileges/ExecuteAsRootTools.h"
#include "privileges/URootPrivileges.h"

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        Boolean answer = false;
        if (std::strcmp(argv[i], "init") == 0)
            answer = InitExecuteAsRootTools();
        else if (std::strcmp(argv[i], "tool") == 0)
            answer = URootPrivileges::ToolHasRootPrivileges();
        else if (std::strcmp(argv[i], "app") == 0)
            answer = URootPrivileges::ApplicationHasRootPrivileges();
        else if (std::strcmp(argv[i], "register-app") == 0)
            answer = URootPrivileges::RegisterApplicationWithRootPrivileges();
        else
            return 2;
        std::printf("%s=%d\n", argv[i], answer ? 1 : 0);
    }
    return 0;
}
