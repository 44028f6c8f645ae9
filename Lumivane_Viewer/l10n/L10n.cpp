#include "L10n.h"

#include "L10nTextData.h"
#include "MenuRetitler.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QMenuBar>
#include <QMetaObject>
#include <QSettings>
#include <QThread>

#include <array>

namespace {

using TextTable = QHash<quint16, QString>;

struct LanguageInfo
{
    L10n::Language language;
    const char *code;
    const char *nativeName;
    const char *flag;
};

constexpr std::array<LanguageInfo, 5> languages{{
    {L10n::Language::french, "fr", "Français", "🇫🇷"},
    {L10n::Language::english, "en", "English", "🇬🇧"},
    {L10n::Language::spanish, "es", "Español", "🇪🇸"},
    {L10n::Language::italian, "it", "Italiano", "🇮🇹"},
    {L10n::Language::german, "de", "Deutsch", "🇩🇪"},
}};

const LanguageInfo &infoOf(L10n::Language language)
{
    return languages[static_cast<size_t>(language)];
}

// Sized for every key up front so that filling it never rehashes.
TextTable buildTable(const L10nTextData::TextRecord *records)
{
    TextTable table;
    table.reserve(L10n::keyCount);
    for (int i = 0; i < L10n::keyCount; ++i)
        table.insert(records[i].key, QString::fromUtf8(records[i].text));
    return table;
}

// Function-local statics: each table is built once, by its first caller on
// whichever thread, and only read afterwards.
const TextTable &englishTable()
{
    static const TextTable table = buildTable(L10nTextData::englishTexts);
    return table;
}

const TextTable &frenchTable()
{
    static const TextTable table = buildTable(L10nTextData::frenchTexts);
    return table;
}

const QHash<QString, const TextTable *> &translations()
{
    static const QHash<QString, const TextTable *> byCode = [] {
        QHash<QString, const TextTable *> result;
        result.reserve(2);
        result.insert(QStringLiteral("fr"), &frenchTable());
        result.insert(QStringLiteral("en"), &englishTable());
        return result;
    }();
    return byCode;
}

const QHash<QString, int> &keysByName()
{
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> result;
        result.reserve(L10n::keyCount);
        for (int i = 0; i < L10n::keyCount; ++i)
            result.insert(QString::fromLatin1(L10nTextData::keyNames[i]), i);
        return result;
    }();
    return byName;
}

// The stored language code, when the setting holds a text; any other kind of
// value counts as absent.
std::optional<QString> storedLanguageCode()
{
    const QVariant value = QSettings().value(QString::fromLatin1(L10n::settingsKey));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

} // namespace

L10n::L10n(const QStringList &preferredLanguages, QObject *parent)
    : QObject(parent)
    , m_current(startupLanguage(preferredLanguages))
{
}

L10n &L10n::shared()
{
    Q_ASSERT(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread());
    static L10n instance(systemPreferredLanguages());
    return instance;
}

L10n::Language L10n::current() const
{
    return m_current;
}

void L10n::setCurrent(Language language)
{
    m_current = language;
    QSettings().setValue(QString::fromLatin1(settingsKey), code(language));
    emit currentChanged(language);
    refreshMainMenu();
}

QString L10n::languageCode() const
{
    return code(m_current);
}

QString L10n::shownLanguageCode() const
{
    const QString code = languageCode();
    return translations().contains(code) ? code : QStringLiteral("en");
}

QString L10n::text(Key key) const
{
    return textForCode(languageCode(), key);
}

QString L10n::storedLanguageText(Key key)
{
    return textForCode(storedLanguageCode().value_or(QStringLiteral("en")), key);
}

QString L10n::textForCode(const QString &code, Key key)
{
    const auto index = static_cast<quint16>(key);
    const auto &tables = translations();
    if (const auto table = tables.constFind(code); table != tables.cend()) {
        if (const auto text = (*table)->constFind(index); text != (*table)->cend())
            return *text;
    }
    if (const auto text = englishTable().constFind(index); text != englishTable().cend())
        return *text;
    return keyName(key);
}

QString L10n::localizedFormat(Key key, const QList<QVariant> &args) const
{
    return fillPlaceholders(text(key), args);
}

QString L10n::fillPlaceholders(const QString &format, const QList<QVariant> &args)
{
    QString result;
    result.reserve(format.size());
    qsizetype nextArgument = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar character = format.at(i);
        if (character != u'%' || i + 1 == format.size()) {
            result.append(character);
            continue;
        }
        const QChar conversion = format.at(i + 1);
        if (conversion == u'%') {
            result.append(u'%');
            ++i;
        } else if ((conversion == u'@' || conversion == u'd') && nextArgument < args.size()) {
            const QVariant &argument = args.at(nextArgument++);
            result.append(conversion == u'@' ? argument.toString() : QString::number(argument.toLongLong()));
            ++i;
        } else {
            result.append(character);
        }
    }
    return result;
}

QList<L10n::Language> L10n::allLanguages()
{
    QList<Language> result;
    for (const LanguageInfo &info : languages)
        result.append(info.language);
    return result;
}

QString L10n::code(Language language)
{
    return QString::fromLatin1(infoOf(language).code);
}

std::optional<L10n::Language> L10n::languageFromCode(const QString &code)
{
    for (const LanguageInfo &info : languages) {
        if (code == QLatin1String(info.code))
            return info.language;
    }
    return std::nullopt;
}

QString L10n::nativeName(Language language)
{
    return QString::fromUtf8(infoOf(language).nativeName);
}

QString L10n::flag(Language language)
{
    return QString::fromUtf8(infoOf(language).flag);
}

QString L10n::keyName(Key key)
{
    return QString::fromLatin1(L10nTextData::keyNames[static_cast<int>(key)]);
}

std::optional<L10n::Key> L10n::keyFromName(QStringView name)
{
    const auto &byName = keysByName();
    const auto found = byName.constFind(name.toString());
    if (found == byName.cend())
        return std::nullopt;
    return static_cast<Key>(*found);
}

L10n::Key L10n::keyInRun(Key first, int offset)
{
    Q_ASSERT(static_cast<int>(first) + offset >= 0 && static_cast<int>(first) + offset < keyCount);
    return static_cast<Key>(static_cast<int>(first) + offset);
}

QStringList L10n::systemPreferredLanguages()
{
    return QLocale::system().uiLanguages();
}

L10n::Language L10n::startupLanguage(const QStringList &preferredLanguages)
{
    if (const auto stored = storedLanguageCode()) {
        if (const auto language = languageFromCode(*stored))
            return *language;
    }
    const QString preferred = preferredLanguages.isEmpty() ? QStringLiteral("en") : preferredLanguages.first();
    return preferred.left(2) == QLatin1String("fr") ? Language::french : Language::english;
}

void L10n::setMainMenu(QMenuBar *menuBar)
{
    m_mainMenu = menuBar;
}

void L10n::refreshMainMenu()
{
    // Queued, so that the menus are retitled after the caller's own handling of
    // the change; each pass reads the language current when it runs.
    QMetaObject::invokeMethod(this, &L10n::retitleMainMenu, Qt::QueuedConnection);
}

void L10n::retitleMainMenu()
{
    if (!m_mainMenu)
        return;
    MenuRetitler::localizeLanguageMenu(m_mainMenu, text(Key::menuLanguage), nativeName(m_current));
    MenuRetitler::localizeMenuTitles(m_mainMenu, m_current == Language::french);
}
