#pragma once
// The document application of the framework joined with the start-up object: the
// framework's start-up, about box and quit go to CApplicationQOR. An exception that
// ends the run comes back through CatchException.

#include <exception>

#include "app/CApplicationQOR.h"
#include "framework/LDocApplication.h"
#include "platform/LException.h"

class CDocApplication : public LDocApplication, public CApplicationQOR {
public:
    static constexpr ResIDT kOutOfMemoryAlert = 29999;

    CDocApplication(ResIDT welcomeID, ResIDT aboutID, SInt16 displayTicks);

    void Initialize() override;
    void ShowAboutBox() override;
    Boolean AttemptQuitSelf(SInt32 saveOption) override;

    // Out of memory shows the stop alert 29999, and the application quits; answers
    // whether the code was handled so.
    virtual Boolean CatchExceptionCode(ExceptionCode code);
    virtual Boolean CatchException(const std::exception& exception);
};
