#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

QtTranslations::QtTranslations(L10n &l10n, QObject *parent)
    : QObject(parent)
    , m_l10n(&l10n)
{
    connect(&l10n, &L10n::currentChanged, this, &QtTranslations::load);
    load();
}

// Qt's texts follow the interface's: a language whose texts the interface
// shows in English gets Qt's English, so that one window speaks one language.
void QtTranslations::load()
{
    QLocale::setDefault(QLocale(m_l10n->shownLanguageCode()));
    QCoreApplication::removeTranslator(&m_translator);
    // "qt_" gathers the catalogues of the modules (base, multimedia, ...).
    if (m_translator.load(QStringLiteral("qt_") + m_l10n->shownLanguageCode(),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_translator);
}
