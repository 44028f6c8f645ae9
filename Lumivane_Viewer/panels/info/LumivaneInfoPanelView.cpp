#include "LumivaneInfoPanelView.h"

#include "InfoGroupBuilder.h"
#include "InfoGroupsBody.h"

#include "l10n/L10n.h"
#include "model/SystemFont.h"
#include "panels/common/CardWidgets.h"
#include "widgets/BackdropClick.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolButton.h"
#include "widgets/ViewerDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QColor backdropColor(0, 0, 0, 89);
const QColor columnColor = QColor::fromRgbF(0.11f, 0.11f, 0.11f);
const QColor headerDividerColor(255, 255, 255, 38);

QWidget *divider(const QColor &color, QWidget *parent)
{
    auto *line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    return line;
}

SymbolButtonLook closeButtonLook()
{
    SymbolButtonLook look;
    look.side = 26;
    look.symbol = QStringLiteral("xmark");
    look.symbolPoints = 11;
    look.symbolColor = QColor(255, 255, 255, 179);
    look.discColor = QColor(255, 255, 255, 26);
    return look;
}

QScrollArea *scrollingBody(InfoGroupsBody *body, QWidget *parent)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setFixedWidth(LumivaneInfoPanelView::columnWidth);
    scroll->setFrameShape(QFrame::NoFrame);
    // The facts hold no control: the list itself is reached with Tab and scrolled by the keys.
    KeyboardFocus::makeReachable(*scroll);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(body);
    scroll->viewport()->setAutoFillBackground(false);
    body->setAutoFillBackground(false);
    // A thin light indicator instead of the platform's light scroll bar.
    scroll->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 2px 2px 0; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 77); border-radius: 3px; min-height: 24px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    return scroll;
}

} // namespace

LumivaneInfoPanelView::LumivaneInfoPanelView(LumivaneProject project, L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_project(std::move(project))
    , m_l10n(&l10n)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    presentAsDialog(*this, DialogFocus::contained);
    // The column's width never changes: fixed from the start, its text is
    // laid out for that width only.
    m_column = new QWidget(this);
    m_column->setFixedWidth(columnWidth);
    m_column->setAutoFillBackground(true);
    QPalette palette = m_column->palette();
    palette.setColor(QPalette::Window, columnColor);
    m_column->setPalette(palette);

    m_body = new InfoGroupsBody;
    m_body->resize(columnWidth, 0);
    auto *layout = new QVBoxLayout(m_column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(divider(headerDividerColor, m_column));
    m_scroll = scrollingBody(m_body, m_column);
    layout->addWidget(m_scroll, 1);

    rebuild();
    connect(&l10n, &L10n::currentChanged, this, &LumivaneInfoPanelView::rebuild);
    new BackdropClick(this, [this] { return columnGeometry(); }, [this] { requestClose(); });
}

QWidget *LumivaneInfoPanelView::buildHeader()
{
    auto *header = new QWidget(m_column);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(20, 16, 20, 16);
    m_title = cardLabel(systemFont(15, QFont::Bold), Qt::white, header);
    m_close = new SymbolButton(closeButtonLook(), header);
    m_close->setCursor(Qt::PointingHandCursor);
    connect(m_close, &QAbstractButton::clicked, this, &LumivaneInfoPanelView::requestClose);
    row->addWidget(m_title);
    row->addStretch(1);
    row->addWidget(m_close);
    return header;
}

// Everything shown comes from the project and the language of the moment.
void LumivaneInfoPanelView::rebuild()
{
    m_title->setText(m_l10n->text(L10n::Key::infoPanelTitle));
    setAccessibleName(m_title->text());
    // Tab reaches the list itself: it is named like the panel.
    m_scroll->setAccessibleName(m_title->text());
    m_close->setAccessibleName(m_l10n->text(L10n::Key::close));
    m_body->setContent(buildInfoGroups(m_project, *m_l10n), m_l10n->text(L10n::Key::infoPanelEmpty),
                       m_l10n->text(L10n::Key::infoRowA11y));
}

void LumivaneInfoPanelView::setTopInset(int inset)
{
    if (inset == m_topInset)
        return;
    m_topInset = inset;
    placeColumn();
    update();
}

QRect LumivaneInfoPanelView::columnGeometry() const
{
    return QRect(width() - columnWidth, m_topInset, columnWidth, std::max(0, height() - m_topInset));
}

void LumivaneInfoPanelView::resizeEvent(QResizeEvent *)
{
    placeColumn();
}

void LumivaneInfoPanelView::placeColumn()
{
    m_column->setGeometry(columnGeometry());
    // The band above takes its clicks itself: the mask leaves it out.
    if (m_topInset > 0)
        setMask(QRect(0, m_topInset, width(), std::max(0, height() - m_topInset)));
    else
        clearMask();
}

void LumivaneInfoPanelView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(QRect(0, m_topInset, std::max(0, width() - columnWidth), std::max(0, height() - m_topInset)),
                     backdropColor);
}

void LumivaneInfoPanelView::requestClose()
{
    if (onClose)
        onClose();
}
