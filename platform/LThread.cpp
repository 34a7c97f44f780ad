#include "platform/LThread.h"

#include <cxxabi.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VARNO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARNO_ASAN 1
#endif
#endif
#if VARNO_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

// The C++ runtime keeps the exceptions being handled per OS thread; each cooperative
// thread keeps its own, swapped in and out at every switch.
struct ExceptionGlobals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

ExceptionGlobals& CurrentExceptionGlobals()
{
    return *reinterpret_cast<ExceptionGlobals*>(abi::__cxa_get_globals());
}

std::vector<LThread*>& Threads()
{
    static std::vector<LThread*> threads;
    return threads;
}

class ImplicitMainThread : public LThread {
public:
    ImplicitMainThread() : LThread(true) {}

protected:
    void* Run() override { return nullptr; }
};

LThread* sMain = nullptr;

} // namespace

struct LThread::Context {
    ucontext_t context{};
    char* mapping = nullptr; // the stack, its lowest page a guard
    std::size_t mappingSize = 0;
    ExceptionGlobals exceptions{};
    void* fakeStack = nullptr; // AddressSanitizer's bookkeeping across switches
    const void* stackBottom = nullptr;
    std::size_t stackSize = 0;
};

LThread* LThread::sCurrent = nullptr;

LThread::LThread(Boolean isMainThread, UInt32 stackSize, UInt16, void** result)
    : mContext(new Context), mIsMain(isMainThread), mResult(result)
{
    if (mIsMain) {
        mSuspended = false;
        mStarted = true;
        if (sCurrent == nullptr || sCurrent == sMain)
            sCurrent = this;
        sMain = this;
        return;
    }
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    const std::size_t usable = (std::max<std::size_t>(stackSize, kMinimumStackSize) + page - 1) / page * page;
    mContext->mappingSize = usable + page;
    void* mapping = mmap(nullptr, mContext->mappingSize, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
    if (mapping == MAP_FAILED) {
        delete mContext;
        throw std::bad_alloc();
    }
    mContext->mapping = static_cast<char*>(mapping);
    mprotect(mContext->mapping, page, PROT_NONE);
    mContext->stackBottom = mContext->mapping + page;
    mContext->stackSize = usable;
    Threads().push_back(this);
}

// A thread deleted before its Run returned abandons whatever its stack held.
LThread::~LThread()
{
    if (mIsMain) {
        if (sMain == this)
            sMain = nullptr;
        if (sCurrent == this)
            sCurrent = nullptr;
    } else {
        std::erase(Threads(), this);
        munmap(mContext->mapping, mContext->mappingSize);
    }
    delete mContext;
}

LThread* LThread::GetMainThread()
{
    if (sMain == nullptr) {
        static ImplicitMainThread implicitMain;
        sMain = &implicitMain;
        if (sCurrent == nullptr)
            sCurrent = sMain;
    }
    return sMain;
}

LThread* LThread::GetCurrentThread()
{
    GetMainThread();
    return sCurrent;
}

std::size_t LThread::CountThreads()
{
    return Threads().size();
}

std::size_t LThread::CountReadyThreads()
{
    return std::size_t(std::count_if(Threads().begin(), Threads().end(),
                                     [](const LThread* thread) { return !thread->mSuspended && !thread->mEnded; }));
}

void LThread::Resume()
{
    if (!mIsMain)
        mSuspended = false;
}

void LThread::Suspend()
{
    if (mIsMain)
        return;
    mSuspended = true;
    if (IsCurrent())
        SwitchTo(*GetMainThread(), false);
}

void LThread::Yield(const LThread*)
{
    LThread* current = GetCurrentThread();
    if (current->mIsMain)
        RunReadyThreads();
    else
        current->SwitchTo(*sMain, false);
}

Boolean LThread::RunReadyThreads()
{
    LThread* main = GetMainThread();
    if (sCurrent != main) {
        sCurrent->SwitchTo(*main, false);
        return false;
    }
    bool ran = false;
    const std::vector<LThread*> pass = Threads();
    for (LThread* thread : pass) {
        // A thread run earlier in this pass may have deleted this one.
        if (std::find(Threads().begin(), Threads().end(), thread) == Threads().end())
            continue;
        if (thread->mSuspended || thread->mEnded)
            continue;
        if (!thread->mStarted) {
            Context& context = *thread->mContext;
            getcontext(&context.context);
            context.context.uc_stack.ss_sp = const_cast<void*>(context.stackBottom);
            context.context.uc_stack.ss_size = context.stackSize;
            context.context.uc_link = nullptr;
            makecontext(&context.context, &LThread::Entry, 0);
            thread->mStarted = true;
        }
        main->SwitchTo(*thread, false);
        ran = true;
        if (thread->mEnded)
            delete thread;
    }
    return ran;
}

void LThread::Entry()
{
#if VARNO_ASAN
    __sanitizer_finish_switch_fiber(nullptr, &sMain->mContext->stackBottom, &sMain->mContext->stackSize);
#endif
    LThread* thread = sCurrent;
    void* result = nullptr;
    // No exception may unwind past the bottom of a thread's stack.
    try {
        result = thread->Run();
    } catch (...) {
    }
    if (thread->mResult)
        *thread->mResult = result;
    thread->mEnded = true;
    thread->SwitchTo(*sMain, true);
}

void LThread::SwitchTo(LThread& next, bool ending)
{
    Context& from = *mContext;
    Context& to = *next.mContext;
    ExceptionGlobals& globals = CurrentExceptionGlobals();
    from.exceptions = globals;
    globals = to.exceptions;
    sCurrent = &next;
#if VARNO_ASAN
    __sanitizer_start_switch_fiber(ending ? nullptr : &from.fakeStack, to.stackBottom, to.stackSize);
#else
    (void)ending;
#endif
    swapcontext(&from.context, &to.context);
#if VARNO_ASAN
    // Back on this stack: threads come back from the main thread, whose extent is
    // learned here; the main thread already knows every thread's.
    const void* bottom = nullptr;
    std::size_t size = 0;
    __sanitizer_finish_switch_fiber(from.fakeStack, &bottom, &size);
    if (!mIsMain) {
        sMain->mContext->stackBottom = bottom;
        sMain->mContext->stackSize = size;
    }
#endif
}
