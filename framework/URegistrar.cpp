#include "framework/URegistrar.h"

#include <map>

#include "framework/LPane.h"

namespace {

std::map<ClassIDT, URegistrar::PaneCreator>& Creators()
{
    static std::map<ClassIDT, URegistrar::PaneCreator> creators;
    return creators;
}

} // namespace

void URegistrar::RegisterClass(ClassIDT classID, PaneCreator creator)
{
    Creators()[classID] = creator;
}

std::unique_ptr<LPane> URegistrar::CreateObject(ClassIDT classID, QWidget* widget)
{
    const auto found = Creators().find(classID);
    return found == Creators().end() ? nullptr : found->second(widget);
}
