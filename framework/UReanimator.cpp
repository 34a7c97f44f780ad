#include "framework/UReanimator.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTextEdit>
#include <QUiLoader>

#include <map>
#include <vector>

#include "framework/LCaption.h"
#include "framework/LDialogBox.h"
#include "framework/LEditText.h"
#include "framework/LMultiPanelView.h"
#include "framework/LPicture.h"
#include "framework/LPopupButton.h"
#include "framework/LProgressBar.h"
#include "framework/LStaticText.h"
#include "framework/LStdButton.h"
#include "framework/LTextEditView.h"
#include "framework/URegistrar.h"
#include "framework/UException.h"
#include "framework/UMenus.h"

namespace {

std::filesystem::path DefaultResourceFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return program.parent_path().parent_path() / "Resources";
}

std::filesystem::path& ResourceFolder()
{
    static std::filesystem::path folder = DefaultResourceFolder();
    return folder;
}

std::map<ResIDT, std::vector<PaneIDT>>& ControlLists()
{
    static std::map<ResIDT, std::vector<PaneIDT>> lists;
    return lists;
}

QWidget* LoadDescription(const std::filesystem::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    // QUiLoader loads every Designer plugin it finds at construction; we use none.
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    QUiLoader loader;
    QCoreApplication::setLibraryPaths(libraryPaths);
    QWidget* widget = loader.load(&file);
    if (widget == nullptr)
        qWarning("cannot read the description %s: %s", path.c_str(), qPrintable(loader.errorString()));
    return widget;
}

std::unique_ptr<LPane> MakeFrameworkPane(QWidget* widget, bool isRoot)
{
    if (auto* comboBox = qobject_cast<QComboBox*>(widget))
        return std::make_unique<LPopupButton>(comboBox);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return std::make_unique<LStdButton>(button);
    if (auto* bar = qobject_cast<QProgressBar*>(widget))
        return std::make_unique<LProgressBar>(bar);
    if (auto* field = qobject_cast<QLineEdit*>(widget))
        return std::make_unique<LEditText>(field);
    if (widget->property("pictureID").isValid())
        return std::make_unique<LPicture>(widget);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return std::make_unique<LStaticText>(label);
    if (qobject_cast<QPlainTextEdit*>(widget) != nullptr || qobject_cast<QTextEdit*>(widget) != nullptr)
        return std::make_unique<LTextEditView>(widget);
    if (auto* stack = qobject_cast<QStackedWidget*>(widget))
        return std::make_unique<LMultiPanelView>(stack);
    if (isRoot)
        return qobject_cast<QDialog*>(widget) ? std::make_unique<LDialogBox>(widget) : std::make_unique<LWindow>(widget);
    return std::make_unique<LView>(widget);
}

void RegisterFrameworkClasses()
{
    static const bool registered = [] {
        URegistrar::RegisterClass<LCaption, QLabel>(MakeOSType("capt"));
        return true;
    }();
    (void)registered;
}

std::unique_ptr<LPane> MakePane(QWidget* widget, bool isRoot)
{
    const ClassIDT classID = ClassIDT(LPane::GetNumberProperty(widget, "classID"));
    if (classID == 0)
        return MakeFrameworkPane(widget, isRoot);
    std::unique_ptr<LPane> pane = URegistrar::CreateObject(classID, widget);
    if (pane == nullptr) {
        qWarning("the class of %s is not registered, or not for this kind of widget", qPrintable(widget->objectName()));
        throw LException(err_NilPointer);
    }
    return pane;
}

bool IsPassedThrough(const QWidget& widget)
{
    return widget.objectName().isEmpty() || widget.objectName().startsWith(QLatin1String("qt_"));
}

void AddSubPanes(LView& view, QWidget* parent)
{
    // The children of a widget are in the order of the description.
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr)
            continue;
        if (IsPassedThrough(*widget)) {
            AddSubPanes(view, widget);
            continue;
        }
        // Menus are commands (UMenus), not panes.
        if (qobject_cast<QMenuBar*>(widget) != nullptr || qobject_cast<QMenu*>(widget) != nullptr)
            continue;
        std::unique_ptr<LPane> pane = MakePane(widget, false);
        if (auto* subView = dynamic_cast<LView*>(pane.get()))
            AddSubPanes(*subView, widget);
        view.AddSubPane(std::move(pane));
    }
}

void CollectControls(const LPane& pane, std::vector<PaneIDT>& controls)
{
    if (dynamic_cast<const LBroadcaster*>(&pane) != nullptr && pane.GetPaneID() != 0)
        controls.push_back(pane.GetPaneID());
    if (auto* view = dynamic_cast<const LView*>(&pane)) {
        for (const auto& sub : view->GetSubPanes())
            CollectControls(*sub, controls);
    }
}

} // namespace

void UReanimator::SetResourceFolder(const std::filesystem::path& folder)
{
    ResourceFolder() = folder;
}

std::filesystem::path UReanimator::GetResourceFolder()
{
    return ResourceFolder();
}

std::unique_ptr<LPane> UReanimator::ReadObjects(ResIDT resID, QWidget* parent)
{
    RegisterFrameworkClasses();
    QWidget* widget = LoadDescription(ResourceFolder() / (std::to_string(resID) + ".ui"));
    if (widget == nullptr)
        throw LException(err_NilPointer);
    // Loaded on its own, so that it keeps the size its description gives it.
    if (parent != nullptr)
        widget->setParent(parent);
    // Until a window pane owns it, or for good when it has a parent.
    std::unique_ptr<QWidget> ownedWidget(parent == nullptr ? widget : nullptr);
    std::unique_ptr<LPane> root;
    try {
        root = MakePane(widget, parent == nullptr);
        if (parent == nullptr && dynamic_cast<LWindow*>(root.get()) == nullptr)
            throw LException(err_NilPointer);
        if (parent == nullptr)
            ownedWidget.release();
        if (root->GetPaneID() == 0)
            root->SetPaneID(resID);
        if (auto* view = dynamic_cast<LView*>(root.get()))
            AddSubPanes(*view, widget);
        UMenus::ConnectCommands(widget);
    } catch (...) {
        if (parent != nullptr)
            delete widget;
        throw;
    }
    std::vector<PaneIDT> controls;
    CollectControls(*root, controls);
    ControlLists()[resID] = std::move(controls);
    return root;
}

void UReanimator::LinkListenerToControls(LListener* listener, LView* container, ResIDT resID)
{
    const auto found = ControlLists().find(resID);
    if (found == ControlLists().end() || container == nullptr)
        return;
    for (PaneIDT paneID : found->second) {
        if (auto* broadcaster = dynamic_cast<LBroadcaster*>(container->FindPaneByID(paneID)))
            broadcaster->AddListener(listener);
    }
}
