#include "cli/StInterruptHandler.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t sInterrupted = 0;

void Interrupt(int)
{
    sInterrupted = 1;
}

} // namespace

StInterruptHandler::StInterruptHandler()
{
    sInterrupted = 0;
    struct sigaction action{};
    action.sa_handler = Interrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &mOldInterrupt);
    sigaction(SIGTERM, &action, &mOldTerminate);
}

StInterruptHandler::~StInterruptHandler()
{
    sigaction(SIGINT, &mOldInterrupt, nullptr);
    sigaction(SIGTERM, &mOldTerminate, nullptr);
}

bool StInterruptHandler::Interrupted()
{
    return sInterrupted != 0;
}
