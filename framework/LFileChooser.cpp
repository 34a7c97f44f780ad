#include "framework/LFileChooser.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

#include "framework/UEventLoop.h"

namespace {

class FileFilterModel : public QSortFilterProxyModel {
public:
    FileFilterModel(const std::function<Boolean(const std::string&)>& filter, QObject* parent)
        : QSortFilterProxyModel(parent), mFilter(filter)
    {
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (files == nullptr || !mFilter)
            return true;
        const QModelIndex index = files->index(row, 0, parent);
        return files->isDir(index) || mFilter(files->filePath(index).toStdString());
    }

private:
    const std::function<Boolean(const std::string&)>& mFilter;
};

} // namespace

Boolean LFileChooser::AskChooseOneFile(std::string& outPath)
{
    QFileDialog dialog;
    // Qt's own dialog: the desktop's would run a loop of its own, holding up the threads.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (mFlags & kNavAllowInvisibleFiles)
        dialog.setFilter(dialog.filter() | QDir::Hidden);
    if (mFilter)
        dialog.setProxyModel(new FileFilterModel(mFilter, &dialog));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    while (dialog.isVisible())
        UEventLoop::ProcessNextEvent();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const std::string path = dialog.selectedFiles().front().toStdString();
    // A name typed in is not checked by the list.
    if (mFilter && !mFilter(path))
        return false;
    outPath = path;
    return true;
}
