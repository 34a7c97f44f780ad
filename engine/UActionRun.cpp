#include "engine/UActionRun.h"

#include <unistd.h>

#include "engine/CActionThread.h"
#include "platform/DateTimeUtils.h"

namespace {

constexpr UInt32 kProgressPeriod = 15;
// Threads that only wait (a pause, a series backup's next volume) must not spin the CPU.
constexpr useconds_t kPassSleep = 1000;

} // namespace

void UActionRun::RunToEnd(CActionThread* thread, const std::function<void(CActionThread&)>& progress,
                          const std::function<void(CActionThread&)>& finished)
{
    thread->Resume();
    UInt32 lastProgress = TickCount();
    while (!thread->ThreadFinished()) {
        LThread::Yield();
        if (thread->ThreadFinished())
            break;
        if (TickCount() - lastProgress >= kProgressPeriod) {
            lastProgress = TickCount();
            if (progress)
                progress(*thread);
        }
        usleep(kPassSleep);
    }
    if (finished)
        finished(*thread);
    // The thread leaves its run and the scheduler disposes of it.
    thread->Resume();
    LThread::Yield();
}
