#pragma once

#include "l10n/L10n.h"

#include <QObject>
#include <QPointer>
#include <QTranslator>

/// Qt's own texts (a text field's context menu, the open panel, network
/// errors) in the language the interface's texts are shown in, from the
/// catalogues Qt installs beside itself; swapped at each change of
/// language. Without a catalogue they stay in Qt's English. The default
/// locale follows the same language, so that what Qt formats by it (the
/// open panel's file types, sizes in messages) does too.
class QtTranslations final : public QObject
{
public:
    explicit QtTranslations(L10n &l10n, QObject *parent = nullptr);

private:
    void load();

    QPointer<L10n> m_l10n;
    QTranslator m_translator;
};
