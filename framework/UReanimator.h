#pragma once
// Builds panes from view descriptions: Qt Designer files "<ID>.ui" in the resource
// folder, one per resource ID. A widget's `paneID` property is its pane ID, a
// control's `message` property its message, `classID` names a registered class
// (URegistrar). The root's pane ID is the resource ID unless it has one.
//
// Every named widget becomes a pane; widgets without a name or with one of Qt's own
// ("qt_…", inside scroll areas and tab widgets) are passed through to their children;
// menu bars and menus are no panes.
// Without a class ID: combo box → LPopupButton, button → LStdButton, progress bar →
// LProgressBar, line edit → LEditText, a widget with a `pictureID` property →
// LPicture, label → LStaticText, text edit → LTextEditView, stacked widget →
// LMultiPanelView, the root → LDialogBox for a dialog, else LWindow; anything else
// → LView. The framework's own class IDs: 'capt' LCaption (a label that is no control).
//
// Menu items with a `command` property send their commands (UMenus).
//
// The control list of a description is its controls (broadcasters) that have a pane
// ID, in the order of the description.

#include <QWidget>

#include <filesystem>
#include <memory>

#include "framework/FrameworkTypes.h"

class LPane;
class LView;

class UReanimator {
public:
    // Default: the Resources folder of the package that holds the running program.
    static void SetResourceFolder(const std::filesystem::path& folder);
    static std::filesystem::path GetResourceFolder();

    // The panes of description `resID`, not yet finished (FinishCreate). Without a
    // parent the root is a window, which owns its widgets; with one, the root's widget
    // is the parent's child. A description that is missing or unreadable, or names a
    // class not registered, raises 'nilP'.
    static std::unique_ptr<LPane> ReadObjects(ResIDT resID, QWidget* parent = nullptr);

    // Adds the listener to each control of description `resID` found in `container`.
    static void LinkListenerToControls(LListener* listener, LView* container, ResIDT resID);
};
