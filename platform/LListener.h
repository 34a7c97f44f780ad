#pragma once
// Listeners receive the 32-bit messages of the broadcasters they listen to. A listener
// and a broadcaster each know the other, so whichever goes first unlinks itself.

#include <vector>

#include "platform/MacTypes.h"

using MessageT = SInt32;

class LBroadcaster;

class LListener {
public:
    LListener() = default;
    virtual ~LListener();
    LListener(const LListener&) = delete;
    LListener& operator=(const LListener&) = delete;

    virtual void ListenToMessage(MessageT message, void* ioParam) = 0;

    void StartListening() { mIsListening = true; }
    void StopListening() { mIsListening = false; }
    Boolean IsListening() const { return mIsListening; }
    Boolean HasBroadcaster(const LBroadcaster* broadcaster) const;

private:
    friend class LBroadcaster;

    std::vector<LBroadcaster*> mBroadcasters;
    Boolean mIsListening = true;
};
