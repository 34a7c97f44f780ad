#pragma once
// An application that opens documents: the files named on its command line (as the
// desktop's "open with" passes them) are opened at launch, each with OpenDocument,
// instead of the plain start. A path that names no item is passed over.

#include <string>
#include <vector>

#include "framework/LApplication.h"
#include "platform/Files.h"

class LDocApplication : public LApplication {
public:
    void SetLaunchDocuments(std::vector<std::string> paths) { mLaunchDocuments = std::move(paths); }

    virtual void OpenDocument(FSSpec*) {}

protected:
    void HandleLaunch() override;

private:
    std::vector<std::string> mLaunchDocuments;
};
