#pragma once
// Commanders form the chain that menu commands and keys travel: from the target (the
// commander on duty) up through its super commanders to the top one. A commander
// owns its sub-commanders and deletes those still there when it goes.

#include <vector>

#include "framework/FrameworkTypes.h"

class LCommander {
public:
    explicit LCommander(LCommander* superCommander = nullptr);
    virtual ~LCommander();
    LCommander(const LCommander&) = delete;
    LCommander& operator=(const LCommander&) = delete;

    LCommander* GetSuperCommander() const { return mSuperCommander; }
    void SetSuperCommander(LCommander* superCommander);
    const std::vector<LCommander*>& GetSubCommanders() const { return mSubCommanders; }

    // Each answers whether it handled the command; the default hands it to the super commander.
    virtual Boolean ObeyCommand(CommandT command, void* ioParam);
    // Whether the command is enabled now; the default asks the super commander, and
    // the top one disables what nobody enabled.
    virtual void FindCommandStatus(CommandT command, Boolean& outEnabled);

    // Sends the command to the target when it is enabled there; answers whether it was obeyed.
    static Boolean ProcessCommand(CommandT command, void* ioParam = nullptr);
    static Boolean IsCommandEnabled(CommandT command);

    // Every sub-commander must agree, then this one.
    virtual Boolean AttemptQuit(SInt32 saveOption);
    virtual Boolean AttemptQuitSelf(SInt32) { return true; }

    static LCommander* GetTarget() { return sTarget; }
    // Makes the commander the target; the old target is told first. Null: the top commander.
    static void SwitchTarget(LCommander* newTarget);
    Boolean IsTarget() const { return sTarget == this; }
    // On duty: the target or one of its super commanders.
    Boolean IsOnDuty() const;

    // The sub-commander that becomes the target when this one is made it (a window's list).
    void SetLatentSub(LCommander* latentSub) { mLatentSub = latentSub; }
    LCommander* GetLatentSub() const { return mLatentSub; }

    static LCommander* GetTopCommander() { return sTopCommander; }
    static void SetTopCommander(LCommander* commander) { sTopCommander = commander; }
    // The super commander of what the next description builds.
    static LCommander* GetDefaultCommander() { return sDefaultCommander; }
    static void SetDefaultCommander(LCommander* commander) { sDefaultCommander = commander; }

protected:
    virtual void BeTarget() {}
    virtual void DontBeTarget() {}

private:
    LCommander* mSuperCommander = nullptr;
    std::vector<LCommander*> mSubCommanders;
    LCommander* mLatentSub = nullptr;

    static LCommander* sTarget;
    static LCommander* sTopCommander;
    static LCommander* sDefaultCommander;
};
