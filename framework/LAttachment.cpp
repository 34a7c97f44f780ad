#include "framework/LAttachment.h"

#include "framework/UEventLoop.h"

LAttachment::~LAttachment()
{
    UEventLoop::RemoveAttachment(this);
}
