#pragma once
// Sends messages to its listeners, in the order they were added.

#include <memory>
#include <vector>

#include "platform/LListener.h"

class LBroadcaster {
public:
    LBroadcaster() = default;
    virtual ~LBroadcaster();
    LBroadcaster(const LBroadcaster&) = delete;
    LBroadcaster& operator=(const LBroadcaster&) = delete;

    void AddListener(LListener* listener);
    void RemoveListener(LListener* listener);
    Boolean HasListener(const LListener* listener) const;

    // Listeners that are not listening, or that a listener removes meanwhile, are skipped.
    void BroadcastMessage(MessageT message, void* ioParam = nullptr);

    void StartBroadcasting() { mIsBroadcasting = true; }
    void StopBroadcasting() { mIsBroadcasting = false; }
    Boolean IsBroadcasting() const { return mIsBroadcasting; }

private:
    std::vector<LListener*> mListeners;
    Boolean mIsBroadcasting = true;
    // False once the broadcaster is gone: seen by a broadcast still under way.
    std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
};
