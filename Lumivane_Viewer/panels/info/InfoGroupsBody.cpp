#include "InfoGroupsBody.h"

#include "model/SystemFont.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double padding = 20;
constexpr double sectionSpacing = 24;
constexpr double titleToRows = 2 + 8; // title's bottom padding, then the section's spacing
constexpr double rowPadding = 8;
constexpr double rowSpacing = 10;
constexpr double iconFrame = 24;
constexpr double minimumGap = 8;

const QColor titleColor(255, 255, 255, 140);
const QColor labelColor(255, 255, 255, 158);
const QColor emptyColor(255, 255, 255, 115);
const QColor dividerColor(255, 255, 255, 26);

QFont titleFont()
{
    QFont font = systemFont(10, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    return font;
}

// Line breaks of the author's texts are kept; words too long for the width
// (a long number) break anywhere rather than run out of the column.
std::unique_ptr<QTextLayout> wrappedText(const QString &text, const QFont &font, double width,
                                         Qt::Alignment alignment, double *height)
{
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    auto layout = std::make_unique<QTextLayout>(shown, font);
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    const double leading = QFontMetricsF(font).leading();
    double y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height() + leading;
    }
    layout->endLayout();
    *height = std::max(y - leading, QFontMetricsF(font).height());
    return layout;
}

double naturalWidth(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::ceil(widest);
}

// Label and value share the row like the platform's stacks share space: a
// text that fits in half keeps its natural width and the other takes the rest.
std::pair<double, double> shareWidths(double label, double value, double available)
{
    if (label + value <= available)
        return {label, value};
    const double half = available / 2;
    if (label <= half)
        return {label, available - label};
    if (value <= half)
        return {available - value, value};
    return {half, half};
}

} // namespace

InfoGroupsBody::InfoGroupsBody(QWidget *parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

InfoGroupsBody::~InfoGroupsBody() = default;

void InfoGroupsBody::setContent(QList<LumivaneInfoGroup> groups, QString emptyText)
{
    m_groups = std::move(groups);
    m_emptyText = std::move(emptyText);
    m_layout.width = -1;
    updateGeometry();
    update();
}

int InfoGroupsBody::heightForWidth(int width) const
{
    return layoutFor(width).height;
}

QSize InfoGroupsBody::sizeHint() const
{
    const int width = this->width() > 0 ? this->width() : 340;
    return {width, heightForWidth(width)};
}

QList<QRectF> InfoGroupsBody::rowRects() const
{
    return layoutFor(width()).rows;
}

const InfoGroupsBody::Layout &InfoGroupsBody::layoutFor(int width) const
{
    if (m_layout.width != width) {
        m_layout = Layout();
        m_layout.width = width;
        layOut(m_layout);
    }
    return m_layout;
}

void InfoGroupsBody::layOut(Layout &layout) const
{
    double top = padding;
    const double contentWidth = std::max(0.0, layout.width - 2 * padding);
    if (m_groups.isEmpty()) {
        double height = 0;
        auto text = wrappedText(m_emptyText, systemFont(12), contentWidth, Qt::AlignLeft, &height);
        top += padding; // the empty text's own top padding
        layout.texts.push_back({std::move(text), QPointF(padding, top), emptyColor});
        top += height;
    }
    for (qsizetype i = 0; i < m_groups.size(); ++i)
        top = layOutGroup(layout, m_groups[i], i == 0 ? top : top + sectionSpacing);
    layout.height = int(std::ceil(top + padding));
}

double InfoGroupsBody::layOutGroup(Layout &layout, const LumivaneInfoGroup &group, double top) const
{
    double height = 0;
    const double contentWidth = std::max(0.0, layout.width - 2 * padding);
    auto title = wrappedText(group.title.toUpper(), titleFont(), contentWidth, Qt::AlignLeft, &height);
    layout.texts.push_back({std::move(title), QPointF(padding, top), titleColor});
    top += height + titleToRows;
    for (const LumivaneInfoItem &item : group.items)
        top = layOutRow(layout, item, top);
    return top;
}

double InfoGroupsBody::layOutRow(Layout &layout, const LumivaneInfoItem &item, double top) const
{
    const QFont iconFont = systemFont(14);
    const QFont labelFont = systemFont(12);
    const QFont valueFont = systemFont(12, QFont::DemiBold);
    const double contentWidth = std::max(0.0, layout.width - 2 * padding);
    const double available = std::max(0.0, contentWidth - iconFrame - 3 * rowSpacing - minimumGap);
    const auto [labelWidth, valueWidth] =
        shareWidths(naturalWidth(item.label, labelFont), naturalWidth(item.value, valueFont), available);

    double iconHeight = 0, labelHeight = 0, valueHeight = 0;
    auto icon = wrappedText(item.icon, iconFont, iconFrame, Qt::AlignHCenter, &iconHeight);
    auto label = wrappedText(item.label, labelFont, labelWidth, Qt::AlignLeft, &labelHeight);
    auto value = wrappedText(item.value, valueFont, valueWidth, Qt::AlignRight, &valueHeight);
    const double contentHeight = std::max({iconHeight, labelHeight, valueHeight});
    const double inner = top + rowPadding;
    auto centred = [&](double height) { return inner + (contentHeight - height) / 2; };

    layout.texts.push_back({std::move(icon), QPointF(padding, centred(iconHeight)), Qt::white});
    layout.texts.push_back(
        {std::move(label), QPointF(padding + iconFrame + rowSpacing, centred(labelHeight)), labelColor});
    layout.texts.push_back(
        {std::move(value), QPointF(padding + contentWidth - valueWidth, centred(valueHeight)), Qt::white});
    const double bottom = inner + contentHeight + rowPadding;
    layout.rows.append(QRectF(padding, top, contentWidth, bottom - top));
    return bottom;
}

void InfoGroupsBody::paintEvent(QPaintEvent *event)
{
    const Layout &layout = layoutFor(width());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PlacedText &text : layout.texts) {
        const QRectF bounds = text.layout->boundingRect().translated(text.origin);
        if (!bounds.intersects(event->rect()))
            continue;
        painter.setPen(text.color);
        text.layout->draw(&painter, text.origin);
    }
    // Each row's divider lies along its bottom edge.
    for (const QRectF &row : layout.rows)
        painter.fillRect(QRectF(row.left(), row.bottom() - 1, row.width(), 1), dividerColor);
}
