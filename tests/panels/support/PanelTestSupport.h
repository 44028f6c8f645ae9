#pragma once

#include "l10n/L10n.h"
#include "model/LumivaneProject.h"
#include "tests/support/MailtoParts.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <memory>

// What the panel tests share: projects made in code and a language fixed per
// test.

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
