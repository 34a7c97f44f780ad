#pragma once
// Work attached to every pass of the event loop (UEventLoop::AddAttachment).

class LAttachment {
public:
    LAttachment() = default;
    virtual ~LAttachment();
    LAttachment(const LAttachment&) = delete;
    LAttachment& operator=(const LAttachment&) = delete;

    virtual void Execute() = 0;
};
