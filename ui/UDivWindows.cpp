#include "ui/UDivWindows.h"

#include "framework/LWindow.h"

LWindow* UDivWindows::FindParentWindow(LPane* pane)
{
    return pane != nullptr ? pane->GetWindow() : nullptr;
}

LPane* UDivWindows::FindPaneByIDHiearchical(LPane* pane, PaneIDT paneID)
{
    return pane != nullptr ? pane->FindPaneByIDOutward(paneID) : nullptr;
}

void UDivWindows::WindowListenToMessage(LPane* pane, MessageT message, void* param)
{
    if (auto* listener = dynamic_cast<LListener*>(FindParentWindow(pane)))
        listener->ListenToMessage(message, param);
}
