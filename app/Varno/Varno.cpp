// Varno, the application's executable in its package (Varno.app/Contents/MacOS/Varno).

#include "app/VarnoMain.h"

int main(int argc, char** argv)
{
    return VarnoMain(argc, argv);
}
