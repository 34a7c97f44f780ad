#include "platform/LListener.h"

#include <algorithm>

#include "platform/LBroadcaster.h"

LListener::~LListener()
{
    // RemoveListener edits mBroadcasters; work on a copy.
    for (LBroadcaster* broadcaster : std::vector<LBroadcaster*>(mBroadcasters))
        broadcaster->RemoveListener(this);
}

Boolean LListener::HasBroadcaster(const LBroadcaster* broadcaster) const
{
    return std::find(mBroadcasters.begin(), mBroadcasters.end(), broadcaster) != mBroadcasters.end();
}
