#include "LumivaneCoverView.h"

#include "CoverActionButtons.h"
#include "CoverBackground.h"
#include "CoverColumnFrame.h"
#include "CoverFactChip.h"
#include "CoverLinkButton.h"
#include "CoverLogo.h"
#include "CoverMapView.h"
#include "CoverRules.h"
#include "LumivaneMark.h"
#include "MapTileSource.h"

#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "model/EnumDisplayNames.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "model/ViewerAccent.h"
#include "panels/common/CardWidgets.h"
#include "widgets/CapsuleButton.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/WrappingText.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kColumnSpacing = 22;
constexpr int kHeaderSpacing = 12;
constexpr int kTitleSpacing = 6;
constexpr int kLinkSpacing = 14;
constexpr int kFooterSpacing = 6;
constexpr int kDescriptionPadding = 40;
constexpr double kMarkHeight = 22;
constexpr double kMarkOpacity = 0.7;

QLabel *coverLabel(const QFont &font, const QColor &color, bool wraps, QWidget *parent)
{
    QLabel *label = cardLabel(font, color, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(wraps);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QHBoxLayout *centredRow(QWidget *owner, int spacing)
{
    auto *row = new QHBoxLayout(owner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(spacing);
    return row;
}

QVBoxLayout *stack(QWidget *owner, int spacing)
{
    auto *column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(spacing);
    return column;
}

// A thin light scroll indicator over the dark cover, as on a touch pad.
const char *const kScrollBarStyle = "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px; }"
                                    "QScrollBar::handle:vertical { background: rgba(255,255,255,90);"
                                    " border-radius: 3px; min-height: 32px; }"
                                    "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                                    "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }";

} // namespace

LumivaneCoverView::LumivaneCoverView(Inputs inputs, CoverServices services, QWidget *parent)
    : QWidget(parent)
    , m_inputs(std::move(inputs))
    , m_l10n(&services.l10n)
    , m_imageCache(std::move(services.imageCache))
    , m_openExternal(std::move(services.openExternal))
    , m_background(new CoverBackground(m_inputs.project.renderMode, m_inputs.coverPhotoURL, m_imageCache, this))
    , m_scroll(new QScrollArea(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_scroll->setFrameShape(QFrame::NoFrame);
    // Tab goes to the controls in the column, which scroll into view; a long
    // description or the map between them is read by scrolling the column
    // itself, reached with Tab before them when it does not fit.
    KeyboardFocus::makeReachable(*m_scroll);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->verticalScrollBar()->setStyleSheet(QLatin1String(kScrollBarStyle));
    m_scroll->setWidgetResizable(true);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->setAutoFillBackground(false);
    m_scroll->setWidget(new CoverColumnFrame(buildColumn(), m_scroll));
    m_scroll->widget()->setAutoFillBackground(false);

    connect(m_l10n, &L10n::currentChanged, this, &LumivaneCoverView::retranslate);
    applyInputs();
}

QWidget *LumivaneCoverView::buildColumn()
{
    auto *content = new QWidget(this);
    auto *column = stack(content, kColumnSpacing);
    column->addSpacerItem(new QSpacerItem(0, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    column->addWidget(buildHeader(content));
    column->addWidget(buildTitleBlock(content));
    column->addWidget(buildFacts(content));
    column->addWidget(buildDescription(content));
    m_actions = new CoverActionButtons(content);
    column->addWidget(m_actions);
    m_mapSlot = new QWidget(content);
    centredRow(m_mapSlot, 0);
    column->addWidget(m_mapSlot);
    column->addSpacerItem(new QSpacerItem(0, 24, QSizePolicy::Minimum, QSizePolicy::Expanding));
    column->addWidget(buildFooter(content));
    column->addSpacerItem(new QSpacerItem(0, 16, QSizePolicy::Minimum, QSizePolicy::Expanding));

    connect(m_actions->startButton(), &QAbstractButton::clicked, this, [this] {
        if (m_inputs.onLaunchTour)
            m_inputs.onLaunchTour();
    });
    connect(m_actions->contactButton(), &QAbstractButton::clicked, this, [this] {
        if (m_inputs.onOpenContact)
            m_inputs.onOpenContact();
    });
    return content;
}

QWidget *LumivaneCoverView::buildHeader(QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *layout = stack(header, kHeaderSpacing);
    m_logo = new CoverLogo(header);
    m_agency = coverLabel(systemFont(15, QFont::DemiBold), withAlpha(Qt::white, 0.85), true, header);
    m_linksRow = new QWidget(header);
    auto *links = centredRow(m_linksRow, kLinkSpacing);
    links->addStretch();
    m_emailLink = new CoverLinkButton(QStringLiteral("envelope.fill"), QString(), m_linksRow);
    m_websiteLink = new CoverLinkButton(QStringLiteral("globe"), QString(), m_linksRow);
    m_phoneLink = new CoverLinkButton(QStringLiteral("phone.fill"), QString(), m_linksRow);
    for (const CoverContactLink::Kind kind :
         {CoverContactLink::Kind::email, CoverContactLink::Kind::website, CoverContactLink::Kind::phone}) {
        CoverLinkButton *button = linkButton(kind);
        links->addWidget(button);
        connect(button, &QAbstractButton::clicked, this, [this, kind] { openLink(kind); });
    }
    links->addStretch();
    layout->addWidget(m_logo);
    layout->addWidget(m_agency);
    layout->addWidget(m_linksRow);
    return header;
}

QWidget *LumivaneCoverView::buildTitleBlock(QWidget *parent)
{
    auto *block = new QWidget(parent);
    auto *layout = stack(block, kTitleSpacing);
    m_name = new WrappingText(systemFont(38, QFont::Bold), Qt::white, ShrinkToFit{3, 0.6}, block);
    m_address = coverLabel(systemFont(14), withAlpha(Qt::white, 0.7), true, block);
    layout->addWidget(m_name);
    layout->addWidget(m_address);
    return block;
}

QWidget *LumivaneCoverView::buildFacts(QWidget *parent)
{
    auto *facts = new QWidget(parent);
    auto *row = centredRow(facts, CoverFactChip::spacing);
    m_categoryChip = new CoverFactChip(facts);
    m_stationsChip = new CoverFactChip(facts);
    m_areaChip = new CoverFactChip(facts);
    row->addStretch();
    row->addWidget(m_categoryChip);
    row->addWidget(m_stationsChip);
    row->addWidget(m_areaChip);
    row->addStretch();
    return facts;
}

QWidget *LumivaneCoverView::buildDescription(QWidget *parent)
{
    m_descriptionBox = new QWidget(parent);
    auto *layout = stack(m_descriptionBox, 0);
    layout->setContentsMargins(kDescriptionPadding, 0, kDescriptionPadding, 0);
    m_description = coverLabel(systemFont(15), withAlpha(Qt::white, 0.82), true, m_descriptionBox);
    layout->addWidget(m_description);
    return m_descriptionBox;
}

QWidget *LumivaneCoverView::buildFooter(QWidget *parent)
{
    auto *footer = new QWidget(parent);
    auto *row = centredRow(footer, kFooterSpacing);
    // An agency name too long for one line wraps rather than widen the column.
    m_footer = coverLabel(systemFont(11), withAlpha(Qt::white, 0.35), true, footer);
    row->addStretch();
    row->addWidget(new LumivaneMark(kMarkHeight, kMarkOpacity, footer), 0, Qt::AlignVCenter);
    row->addWidget(m_footer, 0, Qt::AlignVCenter);
    row->addStretch();
    return footer;
}

CoverMapView *LumivaneCoverView::mapCard() const
{
    return m_map;
}

void LumivaneCoverView::setInputs(Inputs inputs)
{
    m_inputs = std::move(inputs);
    m_background->setPhoto(m_inputs.project.renderMode, m_inputs.coverPhotoURL);
    applyInputs();
}

void LumivaneCoverView::applyInputs()
{
    const LumivaneProject &project = m_inputs.project;
    m_logo->setImageData(project.coverLogoData);
    const bool hasAgency = project.coverAgencyName && !project.coverAgencyName->isEmpty();
    m_agency->setText(hasAgency ? displayText(*project.coverAgencyName, DisplayLength::line, LineBreaks::kept) : QString());
    m_agency->setVisible(hasAgency);
    applyLinks();

    m_name->setText(project.name);
    const bool hasAddress = project.address && !project.address->isEmpty();
    m_address->setText(hasAddress ? displayText(*project.address, DisplayLength::line, LineBreaks::kept) : QString());
    m_address->setVisible(hasAddress);

    m_stationsChip->setText(coverStationCountText(project.stations.size()));
    const std::optional<QString> area = coverAreaText(project.area);
    m_areaChip->setText(area.value_or(QString()));
    m_areaChip->setVisible(area.has_value());

    const std::optional<QString> description = coverDescriptionText(project);
    m_description->setText(displayText(description.value_or(QString()), DisplayLength::scrolling, LineBreaks::kept));
    m_descriptionBox->setVisible(description.has_value());

    m_actions->setAccent(projectAccentColor(project));
    m_actions->startButton()->setEnabled(!project.stations.isEmpty());
    m_actions->setContactShown(bool(m_inputs.onOpenContact));
    applyMap();
    retranslate();
}

void LumivaneCoverView::applyLinks()
{
    m_contactLinks = coverContactLinks(m_inputs.project);
    for (CoverLinkButton *button : {m_emailLink, m_websiteLink, m_phoneLink})
        button->hide();
    for (const CoverContactLink &link : std::as_const(m_contactLinks)) {
        CoverLinkButton *button = linkButton(link.kind);
        button->setText(displayLine(link.text));
        button->setAccessibleName(button->text());
        button->show();
    }
    m_linksRow->setVisible(!m_contactLinks.isEmpty());
}

CoverLinkButton *LumivaneCoverView::linkButton(CoverContactLink::Kind kind) const
{
    switch (kind) {
    case CoverContactLink::Kind::email:
        return m_emailLink;
    case CoverContactLink::Kind::website:
        return m_websiteLink;
    case CoverContactLink::Kind::phone:
        break;
    }
    return m_phoneLink;
}

void LumivaneCoverView::openLink(CoverContactLink::Kind kind) const
{
    for (const CoverContactLink &link : m_contactLinks) {
        // A text that forms no safe URL does nothing and reports nothing.
        if (link.kind == kind && link.url && m_openExternal)
            m_openExternal(*link.url);
    }
}

void LumivaneCoverView::applyMap()
{
    const std::optional<CoverLocation> location = coverLocation(m_inputs.project);
    // The card keeps the visitor's view for as long as it shows the same place.
    if (m_map && location && m_map->location() == *location)
        return;
    if (m_map) {
        m_map->hide();
        m_map->deleteLater();
        m_map = nullptr;
    }
    if (location) {
        m_map = new CoverMapView(*location, MapTileSource::configuredTemplate(), *m_l10n, m_mapSlot);
        static_cast<QHBoxLayout *>(m_mapSlot->layout())->addWidget(m_map, 0, Qt::AlignHCenter);
    }
    m_mapSlot->setVisible(bool(location));
}

void LumivaneCoverView::retranslate()
{
    if (!m_l10n)
        return;
    const L10n &l10n = *m_l10n;
    const LumivaneProject &project = m_inputs.project;
    m_categoryChip->setText(displayName(project.category, l10n));
    const QString contact = project.contactFormButtonLabel ? displayLine(*project.contactFormButtonLabel)
                                                           : l10n.text(L10n::Key::contactUs);
    m_actions->setTexts(l10n.text(L10n::Key::coverStartTour), contact);
    CapsuleButton *start = m_actions->startButton();
    start->setAccessibleName(l10n.text(L10n::Key::startTourA11y));
    start->setAccessibleDescription(l10n.localizedFormat(L10n::Key::coverStartTourA11yHint, project.stations.size()));
    m_footer->setText(coverFooterText(project, l10n));
    // A wrapping label asks for less than a line: the footer keeps its text
    // on one line as long as the column has room beside the mark.
    const double oneLine = QFontMetricsF(m_footer->font()).horizontalAdvance(m_footer->text());
    const int room = CoverColumnFrame::maxColumnWidth - int(std::ceil(kMarkHeight)) - kFooterSpacing;
    m_footer->setMinimumWidth(std::min(int(std::ceil(oneLine)), room));
    if (m_map)
        m_map->retranslate(l10n);
}

void LumivaneCoverView::resizeEvent(QResizeEvent *)
{
    m_background->setGeometry(rect());
    m_scroll->setGeometry(rect());
}
