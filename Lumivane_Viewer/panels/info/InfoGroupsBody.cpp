#include "InfoGroupsBody.h"

#include "InfoGroupsAccessibility.h"

#include "model/DisplayText.h"
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

// The author's texts have no length limit: each is cut to about a screen of
// the column before it is measured, or read by assistive technology.
QString shownText(const QString &text)
{
    return displayText(text, DisplayLength::title, LineBreaks::kept);
}

QList<LumivaneInfoGroup> shownGroups(QList<LumivaneInfoGroup> groups)
{
    for (LumivaneInfoGroup &group : groups) {
        group.title = shownText(group.title);
        for (LumivaneInfoItem &item : group.items) {
            item.icon = shownText(item.icon);
            item.label = shownText(item.label);
            item.value = shownText(item.value);
        }
    }
    return groups;
}

QFont titleFont()
{
    QFont font = systemFont(10, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    return font;
}

double naturalWidth(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::ceil(widest);
}

// Label and value share the row as the platform's stacks share space: a text
// that fits in half keeps its natural width and the other takes the rest.
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

// Breaks a text into lines of the width; its height in pixels.
double breakLines(QTextLayout &layout, double width)
{
    const QFontMetricsF metrics(layout.font());
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height() + metrics.leading();
    }
    layout.endLayout();
    return std::max(y - metrics.leading(), metrics.height());
}

} // namespace

InfoGroupsBody::InfoGroupsBody(QWidget *parent)
    : QWidget(parent)
{
    installInfoGroupsAccessibility();
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

InfoGroupsBody::~InfoGroupsBody() = default;

void InfoGroupsBody::Text::prepare(const QString &text, const QFont &textFont, Qt::Alignment textAlignment,
                                   const QColor &textColor)
{
    content = text;
    font = textFont;
    alignment = textAlignment;
    color = textColor;
    naturalWidth = ::naturalWidth(content, font);
    wrapped.reset();
}

// Line breaks of the author's texts are kept; a word too long for the width
// (a long number) breaks anywhere rather than run out of the column.
void InfoGroupsBody::Text::flow(double availableWidth)
{
    width = availableWidth;
    if (naturalWidth <= availableWidth && !content.contains(QLatin1Char('\n'))) {
        wrapped.reset();
        height = QFontMetricsF(font).height();
        return;
    }
    if (!wrapped) {
        QString shown = content;
        shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
        wrapped = std::make_unique<QTextLayout>(shown, font);
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        wrapped->setTextOption(option);
        wrapped->setCacheEnabled(true);
    }
    height = breakLines(*wrapped, availableWidth);
}

void InfoGroupsBody::Text::draw(QPainter &painter) const
{
    painter.setPen(color);
    if (wrapped) {
        wrapped->draw(&painter, origin);
        return;
    }
    painter.setFont(font);
    double x = origin.x();
    if (alignment & Qt::AlignRight)
        x += width - naturalWidth;
    else if (alignment & Qt::AlignHCenter)
        x += (width - naturalWidth) / 2;
    painter.drawText(QPointF(x, origin.y() + QFontMetricsF(font).ascent()), content);
}

void InfoGroupsBody::setContent(const QList<LumivaneInfoGroup> &groups, const QString &emptyText,
                                const QString &rowReading)
{
    const QFont title = titleFont();
    const QFont icon = systemFont(14);
    const QFont label = systemFont(12);
    const QFont value = systemFont(12, QFont::DemiBold);
    m_groups = shownGroups(groups);
    m_emptyText = emptyText;
    m_rowReading = rowReading;
    m_sections.clear();
    m_sections.reserve(size_t(m_groups.size()));
    for (const LumivaneInfoGroup &group : std::as_const(m_groups)) {
        Section &section = m_sections.emplace_back();
        section.title.prepare(group.title.toUpper(), title, Qt::AlignLeft, titleColor);
        section.rows.resize(size_t(group.items.size()));
        for (qsizetype i = 0; i < group.items.size(); ++i) {
            const LumivaneInfoItem &item = group.items[i];
            Row &row = section.rows[size_t(i)];
            row.icon.prepare(item.icon, icon, Qt::AlignHCenter, Qt::white);
            row.label.prepare(item.label, label, Qt::AlignLeft, labelColor);
            row.value.prepare(item.value, value, Qt::AlignRight, Qt::white);
        }
    }
    m_empty.prepare(shownText(emptyText), systemFont(12), Qt::AlignLeft, emptyColor);
    m_flowWidth = -1;
    updateGeometry();
    update();
}

int InfoGroupsBody::heightForWidth(int width) const
{
    flowTo(width);
    return m_height;
}

QSize InfoGroupsBody::sizeHint() const
{
    const int width = this->width() > 0 ? this->width() : 340;
    return {width, heightForWidth(width)};
}

QList<QRectF> InfoGroupsBody::rowRects() const
{
    flowTo(width());
    QList<QRectF> rects;
    for (const Section &section : m_sections) {
        for (const Row &row : section.rows)
            rects.append(row.rect);
    }
    return rects;
}

QList<QRectF> InfoGroupsBody::titleRects() const
{
    flowTo(width());
    QList<QRectF> rects;
    for (const Section &section : m_sections)
        rects.append(QRectF(section.title.origin, QSizeF(section.title.width, section.title.height)));
    return rects;
}

void InfoGroupsBody::flowTo(int width) const
{
    if (width == m_flowWidth)
        return;
    m_flowWidth = width;
    const double contentWidth = std::max(0.0, width - 2 * padding);
    double top = padding;
    if (m_sections.empty()) {
        top += padding; // the empty text's own top padding
        m_empty.flow(contentWidth);
        m_empty.origin = QPointF(padding, top);
        top += m_empty.height;
    }
    for (size_t i = 0; i < m_sections.size(); ++i)
        top = flowSection(m_sections[i], i == 0 ? top : top + sectionSpacing, contentWidth);
    m_height = int(std::ceil(top + padding));
}

double InfoGroupsBody::flowSection(Section &section, double top, double contentWidth) const
{
    section.title.flow(contentWidth);
    section.title.origin = QPointF(padding, top);
    top += section.title.height + titleToRows;
    for (Row &row : section.rows)
        top = flowRow(row, top, contentWidth);
    return top;
}

double InfoGroupsBody::flowRow(Row &row, double top, double contentWidth) const
{
    const double available = std::max(0.0, contentWidth - iconFrame - 3 * rowSpacing - minimumGap);
    const auto [labelWidth, valueWidth] = shareWidths(row.label.naturalWidth, row.value.naturalWidth, available);
    row.icon.flow(iconFrame);
    row.label.flow(labelWidth);
    row.value.flow(valueWidth);
    const double contentHeight = std::max({row.icon.height, row.label.height, row.value.height});
    const double inner = top + rowPadding;
    auto centred = [&](const Text &text) { return inner + (contentHeight - text.height) / 2; };
    row.icon.origin = QPointF(padding, centred(row.icon));
    row.label.origin = QPointF(padding + iconFrame + rowSpacing, centred(row.label));
    row.value.origin = QPointF(padding + contentWidth - valueWidth, centred(row.value));
    const double bottom = inner + contentHeight + rowPadding;
    row.rect = QRectF(padding, top, contentWidth, bottom - top);
    return bottom;
}

void InfoGroupsBody::paintEvent(QPaintEvent *event)
{
    flowTo(width());
    QPainter painter(this);
    if (m_sections.empty())
        m_empty.draw(painter);
    for (const Section &section : m_sections) {
        section.title.draw(painter);
        for (const Row &row : section.rows) {
            if (!row.rect.intersects(event->rect()))
                continue;
            row.icon.draw(painter);
            row.label.draw(painter);
            row.value.draw(painter);
            // The divider lies along the row's bottom edge.
            painter.fillRect(QRectF(row.rect.left(), row.rect.bottom() - 1, row.rect.width(), 1), dividerColor);
        }
    }
}
