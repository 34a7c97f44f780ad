#pragma once
// The start-up side of the application object: the order of the start-up steps, the
// welcome window that closes by itself, the about box, and whether any window is
// busy. Its periodical closes the welcome window once its time is up.

#include "framework/FrameworkTypes.h"
#include "ui/CPeriodical.h"

class CWindow;

class CApplicationQOR : public CPeriodical {
public:
    CApplicationQOR(ResIDT welcomeID, ResIDT aboutID, SInt16 displayTicks);

    virtual void InitApplication() {}
    virtual void LoadPreferences() {}
    virtual void OpenAtStart() {}
    // Empties the four strings and puts the version into the first.
    virtual void GetAboutInfos(Str255 s0, Str255 s1, Str255 s2, Str255 s3);
    virtual void DisplayWelcome();
    virtual void ShowAboutBoxSelf(CWindow*) {}
    virtual void ShowAboutBox();
    // Any CWindow busy.
    virtual Boolean IsBusy();
    // InitApplication, LoadPreferences, the privilege step, DisplayWelcome, OpenAtStart.
    virtual void Initialize();
    virtual Boolean AttemptQuitSelf(SInt32) { return true; }

    CWindow* GetWelcomeWindow() const { return mWelcomeWindow; }

protected:
    // The step between the preferences and the welcome window; false when the
    // application quits instead of going on.
    virtual Boolean RunPrivilegeStep() { return true; }
    void SpendTimeSelf(const EventRecord& event) override;

private:
    CWindow* mWelcomeWindow = nullptr;
    ResIDT mWelcomeID;
    ResIDT mAboutID;
    SInt16 mDisplayTime;
    UInt32 mCloseTick = 0; // 0: none
};
