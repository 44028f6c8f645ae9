#include "TableOfContentsSheet.h"

#include "NavigationStyle.h"
#include "RoundedPanel.h"
#include "StationCardGrid.h"
#include "TableOfContentsEmptyState.h"
#include "TableOfContentsListing.h"
#include "l10n/L10n.h"
#include "model/StationOrder.h"
#include "model/SystemFont.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolGlyph.h"
#include "widgets/SymbolImages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr qsizetype kSearchableStationCount = 8;
constexpr int kSearchFocusDelayMs = 100;
constexpr QSize kMaximumPanel{1100, 780};
constexpr int kPanelMargin = 24;

SymbolButtonLook clearButtonLook()
{
    SymbolButtonLook look;
    look.symbol = QStringLiteral("xmark.circle.fill");
    look.symbolPoints = 12;
    look.side = symbolBoxSide(12);
    look.symbolColor = withAlpha(Qt::white, 0.4);
    look.discColor = Qt::transparent;
    return look;
}

QLineEdit *makeSearchField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setFrame(false);
    field->setFont(systemFont(13, QFont::Normal, FontDesign::serif, true));
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::PlaceholderText, withAlpha(Qt::white, 0.35));
    field->setPalette(palette);
    return field;
}

} // namespace

TableOfContentsSheet::TableOfContentsSheet(const LumivaneProject &project, StationPhotoResolver photoURLResolver,
                                           std::optional<QUuid> currentStationID, QColor accent, L10n &l10n,
                                           std::shared_ptr<LumivaneImageCache> imageCache, QWidget *parent)
    : ModalFrame(ModalFrameLook{withAlpha(Qt::black, 0.92), QColor::fromRgbF(0.08f, 0.08f, 0.08f), 12, std::nullopt},
                 DialogFocus::contained, parent)
    , m_stations(sortedByOrderIndex(project.stations))
    , m_isClassic(project.renderMode == RenderMode::classic)
    , m_l10n(&l10n)
{
    addSheetHeader(*panelColumn(), buildHeader(m_stations.size() >= kSearchableStationCount));
    m_grid = new StationCardGrid(m_stations, currentStationID, std::move(photoURLResolver), accent, l10n,
                                 std::move(imageCache), panel());
    m_grid->onChoose = [this](QUuid stationID) { choose(stationID); };
    m_emptyState = new TableOfContentsEmptyState(panel());
    panelColumn()->addWidget(m_grid, 1);
    panelColumn()->addWidget(m_emptyState, 1);
    connect(&l10n, &L10n::currentChanged, this, [this] { retranslate(); });
    retranslate();
    if (m_searchField) {
        // Typing goes straight into the search once the sheet is up; until
        // then a window activation must not hand the field its focus.
        m_searchField->setFocusPolicy(Qt::ClickFocus);
        QTimer::singleShot(kSearchFocusDelayMs, m_searchField, [field = m_searchField] {
            field->setFocusPolicy(Qt::StrongFocus);
            field->setFocus(Qt::OtherFocusReason);
        });
    }
}

QString TableOfContentsSheet::query() const
{
    return m_searchField ? m_searchField->text() : QString();
}

QRect TableOfContentsSheet::panelRect(const QSize &sheet) const
{
    const QRect available = QRect(QPoint(), sheet).marginsRemoved(
        QMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin));
    QRect panel(QPoint(), available.size().boundedTo(kMaximumPanel));
    panel.moveCenter(available.center());
    return panel;
}

QWidget *TableOfContentsSheet::buildHeader(bool searchable)
{
    auto *header = new QWidget(panel());
    auto *column = new QVBoxLayout(header);
    column->setContentsMargins(24, 18, 24, 14);
    column->setSpacing(12);

    const SheetTitleRow titleRow = makeSheetTitleRow(header, 22);
    connect(titleRow.closeButton, &SymbolButton::clicked, this, &TableOfContentsSheet::requestClose);
    m_title = titleRow.title;
    m_count = titleRow.subtitle;
    m_closeButton = titleRow.closeButton;
    column->addLayout(titleRow.layout);
    if (searchable)
        column->addWidget(buildSearchRow());
    return header;
}

QWidget *TableOfContentsSheet::buildSearchRow()
{
    auto *row = new RoundedPanel(withAlpha(Qt::white, 0.08), 8, panel());
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    auto *glass = new SymbolGlyph(QStringLiteral("magnifyingglass"), 12, withAlpha(Qt::white, 0.5), row);
    m_searchField = makeSearchField(row);
    m_clearButton = new SymbolButton(clearButtonLook(), row);
    connect(m_searchField, &QLineEdit::textChanged, this, [this] { applyQuery(); });
    connect(m_clearButton, &SymbolButton::clicked, m_searchField, &QLineEdit::clear);
    layout->addWidget(glass);
    layout->addWidget(m_searchField, 1);
    layout->addWidget(m_clearButton);
    return row;
}

void TableOfContentsSheet::choose(const QUuid &stationID)
{
    // Copies: the owner may let go of the sheet in the first call.
    const auto select = onSelect;
    const auto close = onClose;
    if (select)
        select(stationID);
    if (close)
        close();
}

void TableOfContentsSheet::applyQuery()
{
    const QString typed = query();
    const QList<qsizetype> found = m_searchIndex.matches(typed);
    m_count->setText(stationCountText(*m_l10n, m_stations.size(), found.size(), typed.isEmpty()));
    if (m_clearButton)
        m_clearButton->setVisible(!typed.isEmpty());
    if (found.isEmpty()) {
        m_emptyState->setContent(!typed.isEmpty(), typed.isEmpty()
                                                       ? m_l10n->text(L10n::Key::tocEmptyNoStations)
                                                       : m_l10n->localizedFormat(L10n::Key::tocEmptyNoMatch, typed));
        m_grid->setVisible(false);
        m_emptyState->setVisible(true);
        return;
    }
    QList<CardGroup> groups;
    if (typed.isEmpty() && !m_isClassic) {
        for (const LevelSection &section :
             levelSections(m_stations, found, m_l10n->text(L10n::Key::tocLevelNone)))
            groups.append(CardGroup{section.level, section.stations});
    } else {
        groups.append(CardGroup{std::nullopt, found});
    }
    m_grid->setGroups(std::move(groups));
    m_emptyState->setVisible(false);
    m_grid->setVisible(true);
}

void TableOfContentsSheet::retranslate()
{
    m_searchIndex = StationSearchIndex(m_stations, m_l10n->languageCode());
    m_title->setText(m_l10n->text(L10n::Key::tableOfContents));
    setAccessibleName(m_title->text());
    m_closeButton->setAccessibleName(m_l10n->text(L10n::Key::closeTableOfContentsA11y));
    if (m_searchField) {
        m_searchField->setPlaceholderText(m_l10n->text(L10n::Key::searchStationPlaceholder));
        m_searchField->setAccessibleName(m_searchField->placeholderText());
        m_clearButton->setAccessibleName(m_l10n->text(L10n::Key::clearSearchA11y));
    }
    m_grid->retranslate();
    applyQuery();
}
