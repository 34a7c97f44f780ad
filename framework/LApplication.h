#pragma once
// The application: the top commander, and the event loop that runs until it quits.
// It gives the toolkit the keyboard, the alert sound and the busy cursor (UDiv and
// CListObject hooks).
// Qt's application object must exist before it.

#include "framework/LCommander.h"

class LApplication : public LCommander {
public:
    LApplication();
    ~LApplication() override;

    // Initialize, the launch (StartUp), then passes of the event loop until DoQuit succeeds.
    void Run();
    // Quits when every commander agrees (AttemptQuit).
    void DoQuit(SInt32 saveOption = 0);
    Boolean IsQuitting() const { return mQuitting; }

    Boolean ObeyCommand(CommandT command, void* ioParam) override;
    void FindCommandStatus(CommandT command, Boolean& outEnabled) override;

protected:
    virtual void Initialize() {}
    virtual void StartUp() {}
    // What the launch asks for: a plain start here, documents in a document application.
    virtual void HandleLaunch() { StartUp(); }
    virtual void ShowAboutBox() {}

private:
    Boolean mQuitting = false;
};
