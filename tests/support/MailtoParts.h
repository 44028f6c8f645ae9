#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

/// A mailto: link's recipient and headers, decoded as a mail program would.
struct MailtoParts
{
    QString recipient;
    QString subject;
    QString body;
    int headerCount = 0;
};

inline MailtoParts mailtoParts(const QUrl &url)
{
    const QByteArray encoded = url.toEncoded();
    const QByteArray rest = encoded.mid(int(qstrlen("mailto:")));
    const qsizetype question = rest.indexOf('?');
    MailtoParts parts;
    parts.recipient = QUrl::fromPercentEncoding(rest.left(question));
    for (const QByteArray &header : rest.mid(question + 1).split('&')) {
        const qsizetype equals = header.indexOf('=');
        const QString value = QUrl::fromPercentEncoding(header.mid(equals + 1));
        ++parts.headerCount;
        if (header.left(equals) == "subject")
            parts.subject = value;
        else if (header.left(equals) == "body")
            parts.body = value;
    }
    return parts;
}
