#include "framework/LYieldAttachment.h"

#include "platform/LThread.h"

void LYieldAttachment::Execute()
{
    LThread::Yield();
}
