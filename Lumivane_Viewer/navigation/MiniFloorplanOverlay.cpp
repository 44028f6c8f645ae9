#include "MiniFloorplanOverlay.h"

#include "FloorplanMarkers.h"
#include "FloorplanPanel.h"
#include "LevelRuns.h"
#include "NavigationStyle.h"
#include "l10n/L10n.h"
#include "model/AnimationCurve.h"
#include "widgets/SoftShadow.h"
#include "widgets/SymbolButton.h"

#include <QPainter>
#include <QRegion>
#include <QVariantAnimation>

#include <cmath>

namespace {

constexpr double kFoldSeconds = 0.2;
constexpr int kSpacing = 6;
constexpr double kToggleSide = 34;

const DropShadow &panelShadow()
{
    static const DropShadow shadow{withAlpha(Qt::black, 0.45), 12, QPointF(0, 6)};
    return shadow;
}

// Around the panel, where its shadow falls.
QMargins shadowRoom()
{
    const QMarginsF margins = shadowMargins(panelShadow());
    return QMargins(int(std::ceil(margins.left())), int(std::ceil(margins.top())), int(std::ceil(margins.right())),
                    int(std::ceil(margins.bottom())));
}

// Below the panel lies the button, so the widget keeps no room there.
QMargins contentMargins()
{
    QMargins margins = shadowRoom();
    margins.setBottom(0);
    return margins;
}

SymbolButtonLook toggleLook(bool expanded)
{
    SymbolButtonLook look;
    look.side = kToggleSide;
    look.symbol = expanded ? QStringLiteral("map.fill") : QStringLiteral("map");
    look.symbolPoints = 13;
    look.symbolColor = Qt::white;
    look.discColor = withAlpha(Qt::black, 0.7);
    return look;
}

} // namespace

MiniFloorplanOverlay::MiniFloorplanOverlay(const LumivaneProject &project, std::optional<Station> currentStation,
                                           QColor accent, L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_project(project)
    , m_currentStation(std::move(currentStation))
    , m_accent(accent)
    , m_l10n(&l10n)
    , m_panel(new FloorplanPanel(project.stations, accent, l10n, this))
    , m_toggle(new SymbolButton(toggleLook(true), this))
    , m_fade(new QVariantAnimation(this))
{
    setContentsMargins(contentMargins());
    m_panel->onSelectStation = [this](QUuid stationID) {
        if (onSelectStation)
            onSelectStation(stationID);
    };
    m_fade->setDuration(int(kFoldSeconds * 1000));
    m_fade->setEasingCurve(easingCurve(AnimationCurve::easeOut));
    connect(m_fade, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) {
                m_panel->setOpacity(value.toDouble());
                update(); // the panel's shadow fades with it
            });
    connect(m_fade, &QVariantAnimation::finished, this, [this] {
        // Folded: the panel leaves once faded out.
        if (!m_expanded) {
            m_panel->setVisible(false);
            updateGeometry();
            placeChildren();
        }
    });
    connect(m_toggle, &SymbolButton::clicked, this, [this] { toggleExpanded(); });
    connect(&l10n, &L10n::currentChanged, this, [this] { retranslate(); });
    refresh();
    retranslate();
}

void MiniFloorplanOverlay::setCurrentStation(const std::optional<Station> &station)
{
    m_currentStation = station;
    refresh();
}

void MiniFloorplanOverlay::setAccent(const QColor &accent)
{
    m_accent = accent;
    m_panel->setAccent(accent);
}

void MiniFloorplanOverlay::refresh()
{
    m_showsPlan = m_project.showFloorplan && refreshPlan();
    setAttribute(Qt::WA_TransparentForMouseEvents, !m_showsPlan);
    m_toggle->setVisible(m_showsPlan);
    m_panel->setVisible(m_showsPlan && (m_expanded || m_fade->state() == QAbstractAnimation::Running));
    updateGeometry();
    placeChildren();
    update();
}

bool MiniFloorplanOverlay::refreshPlan()
{
    const std::optional<QByteArray> bytes =
        m_project.floorplanData(m_currentStation ? m_currentStation->level : std::nullopt);
    if (!bytes)
        return false;
    // Stations of one level share their plan's bytes: decoded once.
    if (bytes->constData() != m_planBytes.constData() || bytes->size() != m_planBytes.size()) {
        m_planBytes = *bytes;
        m_planDecoded = false;
        decodePlan();
    }
    m_panel->setMarkers(m_currentStation ? levelText(*m_currentStation) : QString(),
                        floorplanMarkers(m_project.stations, m_project.startingStationID, m_currentStation));
    return m_planDecoded;
}

// A huge plan takes seconds even reduced, which the station view must not wait for.
// A decode overtaken by that of another level's plan is dropped.
void MiniFloorplanOverlay::decodePlan()
{
    const int widthPixels = int(std::ceil(FloorplanPanel::width * devicePixelRatioF()));
    m_planDecode.start([bytes = m_planBytes, widthPixels] { return decodeFloorplan(bytes, widthPixels); },
                       [this](const std::optional<FloorplanImage> &plan) {
                           m_planDecoded = plan.has_value();
                           if (plan)
                               m_panel->setPlan(*plan);
                           refresh();
                       });
}

void MiniFloorplanOverlay::toggleExpanded()
{
    m_expanded = !m_expanded;
    m_toggle->setSymbol(toggleLook(m_expanded).symbol);
    retranslate();
    if (m_expanded) {
        m_panel->setVisible(true);
        updateGeometry();
        placeChildren();
    }
    m_fade->stop();
    m_fade->setStartValue(m_panel->opacity());
    m_fade->setEndValue(m_expanded ? 1.0 : 0.0);
    m_fade->start();
}

QSize MiniFloorplanOverlay::sizeHint() const
{
    if (!m_showsPlan)
        return QSize(0, 0);
    const QMargins margins = contentsMargins();
    const int side = int(kToggleSide);
    const QSize content = m_panel->isVisibleTo(this)
        ? QSize(int(FloorplanPanel::width), m_panel->sizeHint().height() + kSpacing + side)
        : QSize(side, side);
    return content.grownBy(margins);
}

void MiniFloorplanOverlay::placeChildren()
{
    const QRect content = contentsRect();
    const int side = int(kToggleSide);
    m_toggle->setGeometry(content.right() + 1 - side, content.bottom() + 1 - side, side, side);
    const QSize panelSize = m_panel->sizeHint();
    m_panel->setGeometry(content.right() + 1 - panelSize.width(), m_toggle->y() - kSpacing - panelSize.height(),
                         panelSize.width(), panelSize.height());
    // Clicks beside the button and below the panel reach the view underneath.
    QRegion shown(m_toggle->geometry(), QRegion::Ellipse);
    if (m_panel->isVisibleTo(this))
        shown += m_panel->geometry().marginsAdded(shadowRoom());
    setMask(shown);
}

void MiniFloorplanOverlay::resizeEvent(QResizeEvent *)
{
    placeChildren();
}

void MiniFloorplanOverlay::paintEvent(QPaintEvent *)
{
    if (!m_showsPlan || !m_panel->isVisible())
        return;
    QPainter painter(this);
    painter.setOpacity(m_panel->opacity());
    paintRoundedRectShadow(painter, QRectF(m_panel->geometry()), 10, panelShadow());
}

void MiniFloorplanOverlay::retranslate()
{
    const QString tip = m_l10n->text(m_expanded ? L10n::Key::floorplanHide : L10n::Key::floorplanShow);
    m_toggle->setToolTip(tip);
    m_toggle->setAccessibleName(tip);
}
