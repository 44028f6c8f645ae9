#include "ChromeText.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

QString boundedText(const QString &text)
{
    if (text.size() <= kMaxShownCharacters)
        return text;
    int cut = kMaxShownCharacters;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QString oneLineText(const QString &text)
{
    QString line = boundedText(text);
    for (QChar &c : line) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return line;
}

QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines)
{
    const QString bounded = oneLineText(text);
    if (bounded.isEmpty() || maxLines <= 0)
        return {};
    QTextLayout layout(bounded, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    int consumed = 0;
    layout.beginLayout();
    while (lines.size() < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        lines << bounded.mid(line.textStart(), line.textLength());
        consumed = line.textStart() + line.textLength();
    }
    layout.endLayout();
    if (consumed < bounded.size() && !lines.isEmpty()) {
        // The last line takes the rest and is elided to the width.
        lines.last() = QFontMetricsF(font).elidedText(lines.last() + bounded.mid(consumed), Qt::ElideRight, width);
    }
    for (QString &line : lines)
        line = line.trimmed();
    return lines;
}
