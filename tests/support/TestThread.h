#pragma once
// A cooperative thread that runs a function; its destructor leaves a mark. For the
// test programs that link the platform.

#include <functional>

#include "platform/LThread.h"

namespace testsupport {

class TestThread : public LThread {
public:
    explicit TestThread(std::function<void()> work, bool* deleted = nullptr, UInt32 stackSize = 0x20000)
        : LThread(false, stackSize), mWork(std::move(work)), mDeleted(deleted)
    {
    }
    ~TestThread() override
    {
        if (mDeleted)
            *mDeleted = true;
    }

protected:
    void* Run() override
    {
        mWork();
        return nullptr;
    }

private:
    std::function<void()> mWork;
    bool* mDeleted;
};

} // namespace testsupport
