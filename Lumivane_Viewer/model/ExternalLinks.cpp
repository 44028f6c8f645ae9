#include "ExternalLinks.h"

#include "DisplayText.h"

#include <QChar>
#include <QList>

#include <algorithm>

std::optional<QUrl> webLinkURL(const QString &text)
{
    const QString candidate = text.toLower().startsWith(QLatin1String("http")) ? text : QStringLiteral("https://") + text;
    const QUrl url(candidate, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty())
        return std::nullopt;
    return url;
}

namespace {

// RFC 6068's unreserved characters and "some-delims"; QUrl::toPercentEncoding
// keeps letters, digits and "-._~" by itself.
const QByteArray kMailtoSafe = QByteArrayLiteral("!$'()*+,;:@");

constexpr qsizetype kMaxMailLineLength = 200;

// Room for a few addresses of the longest a mail system carries (254); a
// recipient of megabytes made a draft URL that the desktop refused to open.
constexpr qsizetype kMaxRecipientLength = 1024;

bool breaksMailRecipient(char32_t c)
{
    return c == U'?' || c == U'&' || c == U'#' || QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control
        || QChar::category(c) == QChar::Other_Format;
}

} // namespace

bool isUsableMailRecipient(QStringView address)
{
    if (address.isEmpty() || address.size() > kMaxRecipientLength)
        return false;
    const QList<uint> codePoints = address.toUcs4();
    return std::none_of(codePoints.begin(), codePoints.end(), breaksMailRecipient);
}

std::optional<QUrl> mailtoURL(const QString &address)
{
    if (!isUsableMailRecipient(address))
        return std::nullopt;
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QByteArray mailtoEncoded(const QString &text)
{
    return QUrl::toPercentEncoding(text, kMailtoSafe);
}

QString mailHeaderText(QString text)
{
    for (QChar &c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return text;
}

QString mailLineText(const QString &text)
{
    return displayText(mailHeaderText(text), kMaxMailLineLength);
}

std::optional<QUrl> mailDraftUrl(const QString &recipient, const QString &subject, const QString &body)
{
    if (!isUsableMailRecipient(recipient))
        return std::nullopt;
    const QByteArray text = "mailto:" + mailtoEncoded(recipient) + "?subject=" + mailtoEncoded(mailLineText(subject))
        + "&body=" + mailtoEncoded(body);
    const QUrl url = QUrl::fromEncoded(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QUrl telephoneURL(const QString &text)
{
    QString digits;
    for (const char32_t c : text.toUcs4()) {
        if (c == U'+' || QChar::isNumber(c))
            digits.append(QString::fromUcs4(&c, 1));
    }
    return QUrl(QStringLiteral("tel:") + digits);
}
