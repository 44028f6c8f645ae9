#pragma once

#include "l10n/L10n.h"

#include <QIdentityProxyModel>
#include <QPointer>

/// The open panel's list as QFileSystemModel gives it, with the texts that
/// model takes from the desktop's language in the interface's instead:
/// sizes and dates by the default locale (which follows the interface), the
/// folder and drive kinds from the interface's texts. Files keep their kind,
/// which the default locale already names. Sorting stays the source's, so
/// dates still sort as dates.
class OpenPanelListModel final : public QIdentityProxyModel
{
public:
    explicit OpenPanelListModel(L10n &l10n, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QPointer<L10n> m_l10n;
};
