#include "framework/LCommander.h"

#include <algorithm>

LCommander* LCommander::sTarget = nullptr;
LCommander* LCommander::sTopCommander = nullptr;
LCommander* LCommander::sDefaultCommander = nullptr;

LCommander::LCommander(LCommander* superCommander)
{
    SetSuperCommander(superCommander);
}

LCommander::~LCommander()
{
    // Deleting a sub-commander takes it out of the list.
    while (!mSubCommanders.empty())
        delete mSubCommanders.back();
    if (sTarget == this)
        sTarget = mSuperCommander;
    SetSuperCommander(nullptr);
    if (sTopCommander == this)
        sTopCommander = nullptr;
    if (sDefaultCommander == this)
        sDefaultCommander = nullptr;
}

void LCommander::SetSuperCommander(LCommander* superCommander)
{
    if (mSuperCommander != nullptr) {
        std::erase(mSuperCommander->mSubCommanders, this);
        if (mSuperCommander->mLatentSub == this)
            mSuperCommander->mLatentSub = nullptr;
    }
    mSuperCommander = superCommander;
    if (mSuperCommander != nullptr)
        mSuperCommander->mSubCommanders.push_back(this);
}

Boolean LCommander::ObeyCommand(CommandT command, void* ioParam)
{
    return mSuperCommander != nullptr && mSuperCommander->ObeyCommand(command, ioParam);
}

void LCommander::FindCommandStatus(CommandT command, Boolean& outEnabled)
{
    if (mSuperCommander != nullptr)
        mSuperCommander->FindCommandStatus(command, outEnabled);
    else
        outEnabled = false;
}

Boolean LCommander::ProcessCommand(CommandT command, void* ioParam)
{
    LCommander* target = sTarget != nullptr ? sTarget : sTopCommander;
    if (target == nullptr || !IsCommandEnabled(command))
        return false;
    return target->ObeyCommand(command, ioParam);
}

Boolean LCommander::IsCommandEnabled(CommandT command)
{
    LCommander* target = sTarget != nullptr ? sTarget : sTopCommander;
    Boolean enabled = false;
    if (target != nullptr)
        target->FindCommandStatus(command, enabled);
    return enabled;
}

Boolean LCommander::AttemptQuit(SInt32 saveOption)
{
    // A sub-commander may close itself while asked.
    const std::vector<LCommander*> subs = mSubCommanders;
    for (LCommander* sub : subs) {
        if (std::find(mSubCommanders.begin(), mSubCommanders.end(), sub) != mSubCommanders.end() &&
            !sub->AttemptQuit(saveOption))
            return false;
    }
    return AttemptQuitSelf(saveOption);
}

void LCommander::SwitchTarget(LCommander* newTarget)
{
    if (newTarget == nullptr)
        newTarget = sTopCommander;
    while (newTarget != nullptr && newTarget->mLatentSub != nullptr)
        newTarget = newTarget->mLatentSub;
    if (newTarget == sTarget)
        return;
    if (sTarget != nullptr)
        sTarget->DontBeTarget();
    sTarget = newTarget;
    if (sTarget != nullptr)
        sTarget->BeTarget();
}

Boolean LCommander::IsOnDuty() const
{
    for (const LCommander* commander = sTarget; commander != nullptr; commander = commander->mSuperCommander) {
        if (commander == this)
            return true;
    }
    return false;
}
