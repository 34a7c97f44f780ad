#pragma once
// The class registry: the pane classes that descriptions name by class ID (their
// `classID` property, four characters). Panes without one get the framework's class
// for their kind of widget (UReanimator).

#include <QWidget>

#include <memory>

#include "framework/FrameworkTypes.h"

class LPane;

class URegistrar {
public:
    // Builds the pane on the widget; null when the widget is not of the kind the class needs.
    using PaneCreator = std::unique_ptr<LPane> (*)(QWidget* widget);

    static void RegisterClass(ClassIDT classID, PaneCreator creator);

    // `PaneClass` is constructed from a `WidgetClass*`.
    template <typename PaneClass, typename WidgetClass = QWidget>
    static void RegisterClass(ClassIDT classID)
    {
        RegisterClass(classID, [](QWidget* widget) -> std::unique_ptr<LPane> {
            auto* typed = qobject_cast<WidgetClass*>(widget);
            return typed ? std::make_unique<PaneClass>(typed) : nullptr;
        });
    }

    // Null when the class is not registered or the widget does not suit it.
    static std::unique_ptr<LPane> CreateObject(ClassIDT classID, QWidget* widget);
};
