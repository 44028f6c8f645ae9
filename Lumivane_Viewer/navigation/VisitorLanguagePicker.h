#pragma once

#include "l10n/L10n.h"

#include <QAbstractButton>
#include <QHash>
#include <QPointer>

class QAction;
class QMenu;

/// The small capsule with the current language's flag and a chevron that
/// opens the menu of the five interface languages (flag, native name, a
/// check at the end of the current one's row). Choosing one always sets the
/// language again, also the one in use, which stores it and retitles the
/// menus. Reached with Tab and opened with Space or Return like the viewer's
/// other buttons.
/// Size policy: fixed, 60 wide and as high as its capsule; the owner puts it
/// at the top-left corner of every face.
class VisitorLanguagePicker final : public QAbstractButton
{
public:
    explicit VisitorLanguagePicker(L10n &l10n, QWidget *parent = nullptr);

    void selectLanguage(L10n::Language language);
    /// The menu it opens (built once, kept in step with the language).
    QMenu *menu() const { return m_menu; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF capsuleSize() const;
    void openMenu();
    void refresh();

    QPointer<L10n> m_l10n;
    QMenu *m_menu;
    QHash<L10n::Language, QAction *> m_actions;
};
