#include "platform/LBroadcaster.h"

#include <algorithm>

LBroadcaster::~LBroadcaster()
{
    *mAlive = false;
    for (LListener* listener : mListeners)
        std::erase(listener->mBroadcasters, this);
}

void LBroadcaster::AddListener(LListener* listener)
{
    if (listener == nullptr || HasListener(listener))
        return;
    mListeners.push_back(listener);
    listener->mBroadcasters.push_back(this);
}

void LBroadcaster::RemoveListener(LListener* listener)
{
    if (listener == nullptr)
        return;
    std::erase(mListeners, listener);
    std::erase(listener->mBroadcasters, this);
}

Boolean LBroadcaster::HasListener(const LListener* listener) const
{
    return std::find(mListeners.begin(), mListeners.end(), listener) != mListeners.end();
}

void LBroadcaster::BroadcastMessage(MessageT message, void* ioParam)
{
    if (!mIsBroadcasting)
        return;
    // A listener may remove itself or others, or delete itself, while it listens; it
    // may also delete the broadcaster (a window closed by its own button), which ends
    // the broadcast.
    const std::vector<LListener*> listeners = mListeners;
    const std::shared_ptr<bool> alive = mAlive;
    for (LListener* listener : listeners) {
        if (!*alive)
            return;
        if (HasListener(listener) && listener->IsListening())
            listener->ListenToMessage(message, ioParam);
    }
}
