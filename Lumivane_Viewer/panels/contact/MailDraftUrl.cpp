#include "MailDraftUrl.h"

#include <algorithm>

namespace {

// RFC 6068's unreserved characters and "some-delims"; QUrl::toPercentEncoding
// keeps letters, digits and "-._~" by itself.
const QByteArray kMailtoSafe = QByteArrayLiteral("!$'()*+,;:@");

bool breaksRecipient(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c == u'?' || c == u'&' || c == u'#';
}

} // namespace

QByteArray mailtoEncoded(const QString &text)
{
    return QUrl::toPercentEncoding(text, kMailtoSafe);
}

bool isUsableMailRecipient(QStringView address)
{
    return !address.isEmpty() && std::none_of(address.begin(), address.end(), breaksRecipient);
}

std::optional<QUrl> mailDraftUrl(const QString &recipient, const QString &subject, const QString &body)
{
    if (!isUsableMailRecipient(recipient))
        return std::nullopt;
    const QByteArray text = "mailto:" + mailtoEncoded(recipient) + "?subject=" + mailtoEncoded(subject)
        + "&body=" + mailtoEncoded(body);
    const QUrl url = QUrl::fromEncoded(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}
