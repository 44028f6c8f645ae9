#include "InfoCardRows.h"

#include "ChromeText.h"
#include "model/DisplayText.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolGlyph.h"
#include "widgets/SymbolImages.h"
#include "widgets/WrappingText.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPadding = 10;
constexpr int kSpacing = 10;
constexpr int kMinimumGap = 4;
constexpr int kTileSide = 28;
constexpr int kMaxLines = 2;
constexpr double kRowRadius = 8;

QFont rowFont()
{
    return systemFont(13, QFont::Medium);
}

// The platform's system blue, not the tour's accent.
QColor systemBlue()
{
    static const AppearanceColor blue{u"#0A84FF", u"#007AFF"};
    return blue.resolved();
}

void paintTile(QPainter &painter, QPointF topLeft, const QString &symbol, const QColor &color)
{
    const QRectF tile(topLeft, QSizeF(kTileSide, kTileSide));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(tile, 6, 6);
    drawSymbol(painter, tile.center(), symbol, 13, Qt::white);
}

// The lines stacked and centred on the middle line, from left.
void paintLines(QPainter &painter, const QStringList &lines, double left, double middle)
{
    const QFontMetricsF metrics(rowFont());
    painter.setFont(rowFont());
    painter.setPen(Qt::white);
    double baseline = middle - lines.size() * metrics.height() / 2 + metrics.ascent();
    for (const QString &line : lines) {
        painter.drawText(QPointF(left, std::round(baseline)), line);
        baseline += metrics.height();
    }
}

// The play button of a sound row: a bare symbol, no disc.
SymbolButtonLook playLook()
{
    SymbolButtonLook look;
    look.symbol = QStringLiteral("play.circle.fill");
    look.symbolPoints = 20;
    look.side = symbolBoxSide(20);
    look.symbolColor = QColor::fromRgbF(1, 1, 1, 0.85f);
    look.discColor = Qt::transparent;
    return look;
}

} // namespace

RowText::RowText(const QString &text, double trailingWidth)
    : m_text(displayLine(text))
    , m_trailingWidth(trailingWidth)
{
}

const QStringList &RowText::lines(int rowWidth) const
{
    if (rowWidth != m_rowWidth) {
        const double room = rowWidth - 2.0 * kPadding - kTileSide - 3.0 * kSpacing - kMinimumGap - m_trailingWidth;
        m_lines = wrappedLines(m_text, rowFont(), std::max(1.0, room), kMaxLines);
        m_rowWidth = rowWidth;
    }
    return m_lines;
}

int RowText::rowHeight(int rowWidth, double trailingHeight) const
{
    const double text = std::max<qsizetype>(1, lines(rowWidth).size()) * QFontMetricsF(rowFont()).height();
    return int(std::ceil(std::max({double(kTileSide), text, trailingHeight}))) + 2 * kPadding;
}

void paintAttachmentRowGround(QPainter &painter, const QRectF &rect)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.06f));
    painter.drawRoundedRect(rect, kRowRadius, kRowRadius);
}

WrappingText *cardText(const QString &text, qsizetype maxLength, const QFont &font, const QColor &color,
                       QWidget *parent)
{
    auto *label = new WrappingText(font, color, maxLength, kInfoCardContentWidth, parent);
    label->setText(text);
    return label;
}

// Button row

AttachmentButtonRow::AttachmentButtonRow(const QString &symbol, const QString &text, const QColor &accent,
                                         QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_accent(accent)
    , m_text(text, symbolBoxSide(10))
{
    KeyboardFocus::makeReachable(*this);
    setText(m_text.text());
    setAccessibleName(m_text.text());
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int AttachmentButtonRow::heightForWidth(int width) const
{
    return m_text.rowHeight(width, 0);
}

QSize AttachmentButtonRow::sizeHint() const
{
    return {kInfoCardContentWidth, heightForWidth(kInfoCardContentWidth)};
}

void AttachmentButtonRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    paintAttachmentRowGround(painter, rect());
    const double middle = height() / 2.0;
    paintTile(painter, QPointF(kPadding, middle - kTileSide / 2.0), m_symbol, m_accent);
    paintLines(painter, m_text.lines(width()), kPadding + kTileSide + kSpacing, middle);
    const double arrow = symbolBoxSide(10);
    drawSymbol(painter, QPointF(width() - kPadding - arrow / 2, middle), u"arrow.up.right", 10,
               QColor::fromRgbF(1, 1, 1, 0.5f));
    if (KeyboardFocus::showsRing(*this))
        KeyboardFocus::paintRing(painter, QRectF(rect()), kRowRadius);
}

// Sound row

SoundAttachmentRow::SoundAttachmentRow(const QString &text, const QString &playAccessibleName, QWidget *parent)
    : QWidget(parent)
    , m_play(new SymbolButton(playLook(), this))
    , m_text(text, playLook().side)
{
    m_play->setAccessibleName(playAccessibleName);
    connect(m_play, &QAbstractButton::clicked, this, [this] {
        if (onPlay)
            onPlay();
    });
    setAccessibleName(m_text.text());
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int SoundAttachmentRow::heightForWidth(int width) const
{
    return m_text.rowHeight(width, m_play->look().side);
}

QSize SoundAttachmentRow::sizeHint() const
{
    return {kInfoCardContentWidth, heightForWidth(kInfoCardContentWidth)};
}

void SoundAttachmentRow::resizeEvent(QResizeEvent *)
{
    const QSize play = m_play->sizeHint();
    m_play->setGeometry(width() - kPadding - play.width(), (height() - play.height()) / 2, play.width(), play.height());
}

void SoundAttachmentRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintAttachmentRowGround(painter, rect());
    const double middle = height() / 2.0;
    paintTile(painter, QPointF(kPadding, middle - kTileSide / 2.0), QStringLiteral("speaker.wave.2.fill"), systemBlue());
    paintLines(painter, m_text.lines(width()), kPadding + kTileSide + kSpacing, middle);
}

// Text block

TextAttachmentBlock::TextAttachmentBlock(const QString &title, const QString &text, QWidget *parent)
    : QWidget(parent)
{
    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    auto *icon = new SymbolGlyph(QStringLiteral("text.alignleft"), 11, QColor::fromRgbF(1, 1, 1, 0.6f), this);
    header->addWidget(icon, 0, Qt::AlignVCenter);
    if (!title.isEmpty()) {
        header->addWidget(cardText(title, DisplayLength::title, systemFont(12, QFont::DemiBold), QColor::fromRgbF(1, 1, 1, 0.75f), this), 1,
                          Qt::AlignVCenter);
    } else {
        header->addStretch(1);
    }

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(6);
    column->addLayout(header);
    if (!text.isEmpty())
        column->addWidget(cardText(text, DisplayLength::scrolling, systemFont(13), QColor::fromRgbF(1, 1, 1, 0.9f), this));
}

void TextAttachmentBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintAttachmentRowGround(painter, rect());
}
