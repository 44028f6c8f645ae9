#pragma once

#include "l10n/L10n.h"
#include "model/LumivaneProject.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <memory>

// What the panel tests share: projects made in code, a language fixed per
// test and mailto: links taken apart again.

inline LumivaneProject panelTestProject(const QString &name = QStringLiteral("Villa Ocre"))
{
    LumivaneProject project;
    project.id = QUuid::fromString(QStringLiteral("{3f2b8c1e-9a4d-4e6f-b1c2-0d9e8f7a6b5c}"));
    project.name = name;
    return project;
}

inline std::unique_ptr<L10n> panelTestL10n(L10n::Language language)
{
    auto l10n = std::make_unique<L10n>(QStringList{QStringLiteral("en-US")});
    l10n->setCurrent(language);
    return l10n;
}

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
