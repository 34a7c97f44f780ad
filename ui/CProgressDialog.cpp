#include "ui/CProgressDialog.h"

#include "framework/LProgressBar.h"
#include "framework/LWindow.h"
#include "framework/UEventLoop.h"
#include "ui/CWindow.h"

CProgressDialog::CProgressDialog(ResIDT resID, LCommander* superCommander) : StDialogHandler(resID, superCommander) {}

void CProgressDialog::SetItemEnable(PaneIDT paneID, Boolean enabled)
{
    if (auto* window = dynamic_cast<CWindow*>(GetDialog()))
        window->SetItemEnable(paneID, enabled);
}

MessageT CProgressDialog::WantToStop(SInt32 current, SInt32 total)
{
    LWindow* dialog = GetDialog();
    dialog->Show();
    if (auto* bar = dynamic_cast<LProgressBar*>(dialog->FindPaneByID(1))) {
        bar->SetIndeterminateFlag(false);
        bar->SetMaxValue(total);
        bar->SetValue(current);
    }
    dialog->Select();
    dialog->Draw();
    UEventLoop::ProcessPendingEvents();
    return TakeMessage();
}
