#pragma once

#include "l10n/L10nKey.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <optional>
#include <type_traits>

class QMenuBar;

/// The interface language and the keyed French/English texts every view asks for.
/// Knows no tour type and no view; it stores only the language choice, and retitles
/// the one menu bar it is handed after each change of language.
class L10n final : public QObject
{
    Q_OBJECT

public:
    enum class Language : quint8 { french, english, spanish, italian, german };
    Q_ENUM(Language)

    using Key = L10nKey;
    static constexpr int keyCount = l10nKeyCount;

    /// The settings key that holds the code of the chosen language.
    static constexpr const char *settingsKey = "lumivane.language";

    /// Starts with the stored language, else the one the preferred languages
    /// suggest; neither writes the setting nor touches menus.
    explicit L10n(const QStringList &preferredLanguages, QObject *parent = nullptr);

    /// The process-wide instance, created on first use from the system's
    /// preferred languages. Main thread only.
    static L10n &shared();

    Language current() const;
    /// Stores the language's code under settingsKey, announces the change and
    /// queues one menu retitling pass, on every call, also for the same value.
    void setCurrent(Language language);
    QString languageCode() const;
    /// The code of the language the keyed texts are shown in: the current
    /// one's when it has texts of its own, else English, which stands in.
    QString shownLanguageCode() const;

    /// The key's text in the current language, else in English, else the key's name.
    QString text(Key key) const;
    /// Like text(), with the language code read from the stored setting on each
    /// call ("en" when none). Safe on any thread.
    static QString storedLanguageText(Key key);
    /// The lookup both texts share: the table of code, else English, else the name.
    static QString textForCode(const QString &code, Key key);

    /// Fills the key's current-language text: each "%@" takes the next argument
    /// as text, each "%d" as an integer, in one pass.
    QString localizedFormat(Key key, const QList<QVariant> &args) const;
    template <typename... Args>
    QString localizedFormat(Key key, const Args &...args) const
    {
        return localizedFormat(key, QList<QVariant>{formatArgument(args)...});
    }
    /// The single-pass filling behind localizedFormat(), for texts looked up
    /// otherwise (storedLanguageText). Arguments are never scanned for
    /// placeholders; "%%" gives "%"; a placeholder without an argument stays as written.
    static QString fillPlaceholders(const QString &format, const QList<QVariant> &args);

    static QList<Language> allLanguages();
    static QString code(Language language);
    /// Exactly "fr", "en", "es", "it" or "de"; anything else gives none.
    static std::optional<Language> languageFromCode(const QString &code);
    static QString nativeName(Language language);
    static QString flag(Language language);

    /// The key's case name, e.g. "viewerLoading" (and "delete" for Key::delete_).
    static QString keyName(Key key);
    /// Exactly a case name, case-sensitive; anything else gives none.
    static std::optional<Key> keyFromName(QStringView name);
    /// The key `offset` places after `first`: how an enumeration picks its display
    /// text from a run of consecutive keys.
    static Key keyInRun(Key first, int offset);

    /// The user's preferred languages, most preferred first, as tags like "fr-FR".
    static QStringList systemPreferredLanguages();
    /// The language a fresh instance starts with: the stored one when it names a
    /// language, else French when the first preferred language starts with "fr",
    /// else English.
    static Language startupLanguage(const QStringList &preferredLanguages);

    /// The menu bar whose titles follow the language; not owned.
    void setMainMenu(QMenuBar *menuBar);
    /// Queues one retitling pass over the main menu and returns at once.
    void refreshMainMenu();

signals:
    void currentChanged(L10n::Language language);

private:
    template <typename T>
    static QVariant formatArgument(const T &value)
    {
        if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
            return QVariant(static_cast<qlonglong>(value));
        else if constexpr (std::is_convertible_v<T, QString>)
            return QVariant(QString(value));
        else
            return QVariant::fromValue(value);
    }

    void retitleMainMenu();

    Language m_current;
    QPointer<QMenuBar> m_mainMenu;
};

inline size_t qHash(L10n::Key key, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(key), seed);
}

inline size_t qHash(L10n::Language language, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(language), seed);
}
