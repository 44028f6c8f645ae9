#include "OpenPanelListModel.h"

#include <QFileSystemModel>
#include <QLocale>

namespace {

// QFileSystemModel's columns after the name.
enum Column { size = 1, kind, modified };

} // namespace

OpenPanelListModel::OpenPanelListModel(L10n &l10n, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_l10n(&l10n)
{
}

QVariant OpenPanelListModel::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (role != Qt::DisplayRole || !files)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex entry = mapToSource(index);
    const QFileInfo info = files->fileInfo(entry);
    switch (index.column()) {
    case size:
        // A folder's size stays as the source leaves it, blank.
        if (!info.isDir())
            return QLocale().formattedDataSize(files->size(entry));
        break;
    case kind:
        if (info.isRoot())
            return m_l10n->text(L10n::Key::openPanelDrive);
        if (info.isDir())
            return m_l10n->text(L10n::Key::openPanelFolder);
        break;
    case modified:
        return QLocale().toString(files->lastModified(entry), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
}
