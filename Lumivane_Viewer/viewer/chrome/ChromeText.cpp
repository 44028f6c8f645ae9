#include "ChromeText.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

QStringList wrappedLines(const QString &text, const QFont &font, double width, int maxLines)
{
    if (text.isEmpty() || maxLines <= 0)
        return {};
    QTextLayout layout(text, font);
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
        lines << text.mid(line.textStart(), line.textLength());
        consumed = line.textStart() + line.textLength();
    }
    layout.endLayout();
    if (consumed < text.size() && !lines.isEmpty()) {
        // The last line takes the rest and is elided to the width.
        lines.last() = QFontMetricsF(font).elidedText(lines.last() + text.mid(consumed), Qt::ElideRight, width);
    }
    for (QString &line : lines)
        line = line.trimmed();
    return lines;
}
