#pragma once

#include "StationSearch.h"
#include "StationThumbnailLoader.h"
#include "model/LumivaneProject.h"
#include "widgets/ModalFrame.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class L10n;
class LumivaneImageCache;
class QLabel;
class QLineEdit;
class StationCardGrid;
class SymbolButton;
class TableOfContentsEmptyState;

/// The full-window overview of a tour's stations: cards with photo and
/// name under level headings, a search by name, caption and level in the
/// visitor's language from 8 stations on, the current station tinted in the
/// accent. Choosing a card reports onSelect, then onClose; the backdrop and
/// the close button report onClose alone. Never changes station or closes
/// itself, and has no keyboard shortcut of its own.
/// Size policy: the whole window (backdrop), the panel centred at most
/// 1100 by 780 with a margin of 24.
class TableOfContentsSheet final : public ModalFrame
{
public:
    TableOfContentsSheet(const LumivaneProject &project, StationPhotoResolver photoURLResolver,
                         std::optional<QUuid> currentStationID, QColor accent, L10n &l10n,
                         std::shared_ptr<LumivaneImageCache> imageCache, QWidget *parent = nullptr);

    /// Called with the chosen station's id, just before onClose.
    std::function<void(QUuid)> onSelect;

    /// The search text as typed.
    QString query() const;

protected:
    QRect panelRect(const QSize &sheet) const override;

private:
    QWidget *buildHeader(bool searchable);
    QWidget *buildSearchRow();
    void choose(const QUuid &stationID);
    void applyQuery();
    void retranslate();

    QList<Station> m_stations; // in station order
    bool m_isClassic;
    QPointer<L10n> m_l10n;
    StationSearchIndex m_searchIndex;
    QLabel *m_title = nullptr;
    QLabel *m_count = nullptr;
    SymbolButton *m_closeButton = nullptr;
    QLineEdit *m_searchField = nullptr;
    SymbolButton *m_clearButton = nullptr;
    StationCardGrid *m_grid = nullptr;
    TableOfContentsEmptyState *m_emptyState = nullptr;
};
