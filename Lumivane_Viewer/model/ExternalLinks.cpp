#include "ExternalLinks.h"

#include <QChar>

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

bool isUnsafeInMailAddress(char32_t c)
{
    return c == U'?' || c == U'&' || c == U'#' || QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control
        || QChar::category(c) == QChar::Other_Format;
}

} // namespace

std::optional<QUrl> mailtoURL(const QString &address)
{
    if (address.isEmpty())
        return std::nullopt;
    for (const char32_t c : address.toUcs4()) {
        if (isUnsafeInMailAddress(c))
            return std::nullopt;
    }
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
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
