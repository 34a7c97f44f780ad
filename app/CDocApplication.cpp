#include "app/CDocApplication.h"

#include <new>

#include "platform/MacMemory.h"
#include "ui/CWindow.h"

CDocApplication::CDocApplication(ResIDT welcomeID, ResIDT aboutID, SInt16 displayTicks)
    : CApplicationQOR(welcomeID, aboutID, displayTicks)
{
}

void CDocApplication::Initialize()
{
    CApplicationQOR::Initialize();
}

void CDocApplication::ShowAboutBox()
{
    CApplicationQOR::ShowAboutBox();
}

Boolean CDocApplication::AttemptQuitSelf(SInt32 saveOption)
{
    return CApplicationQOR::AttemptQuitSelf(saveOption);
}

Boolean CDocApplication::CatchExceptionCode(ExceptionCode code)
{
    if (code != memFullErr)
        return false;
    CWindow::DoStandardDialog(kOutOfMemoryAlert, this, nullptr);
    return true;
}

Boolean CDocApplication::CatchException(const std::exception& exception)
{
    if (const auto* framework = dynamic_cast<const LException*>(&exception))
        return CatchExceptionCode(framework->GetErrorCode());
    return dynamic_cast<const std::bad_alloc*>(&exception) != nullptr && CatchExceptionCode(memFullErr);
}
