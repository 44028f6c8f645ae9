#pragma once

#include <QString>

#include <cctype>
#include <string>

/// The name of a case in a table of test cases, from the words and numbers
/// that tell it apart, so that a failure names the case and ctest -R selects
/// it: ASCII letters and digits in lower camel case, accents dropped, a sign
/// before a word or number written "minus" and a decimal point "point"
/// ("-1.5 m²" gives "minus1Point5M2"), anything else a break between words.
inline std::string caseName(const QString &words)
{
    const QString plain = words.normalized(QString::NormalizationForm_KD);
    const auto charAt = [&plain](qsizetype i) { return i >= 0 && i < plain.size() ? plain[i].unicode() : u' '; };
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    const auto isAlphanumeric = [&isDigit](char16_t c) {
        return isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    std::string name;
    bool wordStarts = false;
    const auto append = [&name, &wordStarts](char c) {
        if (name.empty())
            c = char(std::tolower(c));
        else if (wordStarts)
            c = char(std::toupper(c));
        name += c;
        wordStarts = false;
    };
    const auto appendWord = [&append, &wordStarts](const char *word) {
        wordStarts = true;
        for (const char *c = word; *c; ++c)
            append(*c);
        wordStarts = true;
    };
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const char16_t c = charAt(i);
        if (plain[i].isMark())
            continue; // the accent of a letter
        if (isAlphanumeric(c))
            append(char(c));
        else if (c == u'-' && !isAlphanumeric(charAt(i - 1)) && isAlphanumeric(charAt(i + 1)))
            appendWord("minus");
        else if (c == u'.' && isDigit(charAt(i - 1)) && isDigit(charAt(i + 1)))
            appendWord("point");
        else
            wordStarts = true;
    }
    return name.empty() ? std::string("empty") : name;
}
