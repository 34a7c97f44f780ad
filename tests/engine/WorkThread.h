#pragma once
// A thread whose work the test gives.

#include <functional>

#include "engine/CBaseThread.h"

class WorkThread : public CBaseThread {
public:
    explicit WorkThread(std::function<void(WorkThread&)> work) : mWork(std::move(work)) {}
    void RunSelf() override { mWork(*this); }

private:
    std::function<void(WorkThread&)> mWork;
};
