#pragma once
// What a long sort of a list shows: progress dialog 21998 under the top commander,
// its stop button enabled only when the sort may stop. The application installs it
// as the toolkit's hook:
//
//     CListObject::sSortProgressHook = CSortProgressDialog::Create;

#include <memory>

#include "toolkit/CListObject.h"
#include "ui/CProgressDialog.h"

class CSortProgressDialog : public CSortProgress {
public:
    static constexpr ResIDT kDialogID = 21998;

    explicit CSortProgressDialog(Boolean canStop);

    static std::unique_ptr<CSortProgress> Create(Boolean canStop);

    Boolean WantToStop(long done, long total) override;

    CProgressDialog& GetProgressDialog() { return mDialog; }

private:
    CProgressDialog mDialog;
};
