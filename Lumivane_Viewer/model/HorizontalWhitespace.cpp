#include "HorizontalWhitespace.h"

namespace {

// Every space separator lies in the basic plane, so UTF-16 units suffice.
bool isHorizontalWhitespace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

QStringView trimmedHorizontalWhitespace(QStringView text)
{
    while (!text.isEmpty() && isHorizontalWhitespace(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isHorizontalWhitespace(text.back()))
        text.chop(1);
    return text;
}
