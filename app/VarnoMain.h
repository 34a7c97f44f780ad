#pragma once
// The entry function of the application: makes a set-uid run safe, starts the
// toolkit, and runs the application object until it quits. The arguments after the
// program's name are documents to open (as the desktop's "open with" passes them);
// the toolkit gets none of them, so no option reaches it from the command line.

int VarnoMain(int argc, char** argv);
