#include "MenuRetitler.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QWidget>

#include <array>
#include <optional>
#include <utility>

namespace {

QString canonical(const QString &text)
{
    return text.normalized(QString::NormalizationForm_C);
}

bool containsCanonically(const QString &title, const QString &part)
{
    return canonical(title).contains(canonical(part), Qt::CaseSensitive);
}

struct TitlePair
{
    const char *french;
    const char *english;
};

// Titles of the menus the application and the platform may carry, in the order
// they are tried. "…" is the single ellipsis character.
constexpr std::array<TitlePair, 36> menuTitlePairs{{
    {"Nouveau projet…", "New Project…"},
    {"Ajouter des photos…", "Add Photos…"},
    {"Aperçu de la visite", "Preview Tour"},
    {"Exporter la visite (.lumivane)…", "Export Tour (.lumivane)…"},
    {"Exporter en vidéo MP4…", "Export as MP4 Video…"},
    {"Ouvrir un fichier .lumivane…", "Open a .lumivane file…"},
    {"Ouvrir un projet récent", "Open Recent Project"},
    {"Aucun projet récent", "No Recent Projects"},
    {"Exporter pour le web…", "Export for Web…"},
    {"Publier sur mon serveur…", "Publish to My Server…"},
    {"Partager la visite en ligne…", "Share Tour Online…"},
    {"Exporter pour Google Street View…", "Export to Google Street View…"},
    {"Détecter les doublons", "Detect duplicates"},
    {"Harmoniser les couleurs…", "Harmonize Colors…"},
    {"Renommer par modèle…", "Rename with Template…"},
    {"Enregistrer un commentaire audio", "Record Audio Comment"},
    {"Vérifier la qualité de la visite…", "Check Tour Quality…"},
    {"Modifier les informations du projet…", "Edit Project Info…"},
    {"Mode immersion", "Immersion Mode"},
    {"Mode VR / Cardboard", "VR / Cardboard Mode"},
    {"Comparateur avant / après…", "Before / After Comparator…"},
    {"Guide utilisateur Lumivane", "Lumivane User Guide"},
    {"Site web Lumivane", "Lumivane Website"},
    {"Envoyer un retour…", "Send Feedback…"},
    {"Nouveautés…", "What's New…"},
    {"Vérifier les mises à jour…", "Check for Updates…"},
    {"App Viewer pour vos clients…", "Viewer App for Your Clients…"},
    {"Créer vos plans avec Dravlen (iPhone)…", "Create Floor Plans with Dravlen (iPhone)…"},
    {"Retour à la liste des projets", "Back to Projects List"},
    {"Réglages…", "Settings…"},
    {"Palette de commandes…", "Command Palette…"},
    {"Projet", "Project"},
    {"Présentation", "View"},
    {"Fenêtre", "Window"},
    {"Aide", "Help"},
    {"Langue", "Language"},
}};

// The pairs in canonical form, built once: titles are compared on every item.
const QList<std::pair<QString, QString>> &canonicalPairs()
{
    static const QList<std::pair<QString, QString>> pairs = [] {
        QList<std::pair<QString, QString>> result;
        result.reserve(qsizetype(menuTitlePairs.size()));
        for (const TitlePair &pair : menuTitlePairs)
            result.append({canonical(QString::fromUtf8(pair.french)), canonical(QString::fromUtf8(pair.english))});
        return result;
    }();
    return pairs;
}

std::optional<std::pair<QString, QString>> pairForTitle(const QString &title)
{
    const QString wanted = canonical(title);
    for (const auto &pair : canonicalPairs()) {
        if (wanted == pair.first || wanted == pair.second)
            return pair;
    }
    return std::nullopt;
}

bool hasItemContaining(const QMenu &menu, const QString &part)
{
    const QList<QAction *> items = menu.actions();
    for (const QAction *item : items) {
        if (containsCanonically(item->text(), part))
            return true;
    }
    return false;
}

} // namespace

void MenuRetitler::localizeLanguageMenu(QWidget *mainMenu, const QString &title, const QString &nativeName)
{
    // Read once: retitling must not change which items are walked.
    const QList<QAction *> items = mainMenu->actions();
    for (QAction *item : items) {
        QMenu *submenu = item->menu();
        if (!submenu || !hasItemContaining(*submenu, QStringLiteral("Français"))
            || !hasItemContaining(*submenu, QStringLiteral("English")))
            continue;
        item->setText(title);
        submenu->setTitle(title);
        const QList<QAction *> languageItems = submenu->actions();
        for (QAction *languageItem : languageItems) {
            languageItem->setCheckable(true);
            languageItem->setChecked(containsCanonically(languageItem->text(), nativeName));
        }
    }
}

void MenuRetitler::localizeMenuTitles(QWidget *menu, bool french)
{
    const QList<QAction *> items = menu->actions();
    for (QAction *item : items) {
        if (const auto pair = pairForTitle(item->text()))
            item->setText(french ? pair->first : pair->second);
        if (QMenu *submenu = item->menu())
            localizeMenuTitles(submenu, french);
    }
}
