#pragma once

#include "widgets/SoftShadow.h"

#include <QColor>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class SymbolButton;

#include <functional>
#include <optional>

/// A full-window sheet: a dark backdrop with one rounded panel on it. A
/// click on the backdrop outside the panel asks to close; clicks on the
/// panel never do. The owner gives it the whole window's rectangle and
/// closes it in onClose (with deleteLater when it deletes it). A dialog to
/// assistive technology, named as its title reads; Tab stays inside.
class ModalSheet : public QWidget
{
public:
    /// Asks the owner to close the sheet.
    std::function<void()> onClose;

    /// The panel's rectangle in the sheet.
    QRect panelGeometry() const;

protected:
    struct Look
    {
        QColor backdrop;
        QColor panel;
        double cornerRadius = 12;
        std::optional<DropShadow> shadow;
    };

    ModalSheet(Look look, QWidget *parent);

    /// The sheets' title row: an italic serif title over a small grey line,
    /// and the round close button, which reports onClose.
    struct TitleRow
    {
        QHBoxLayout *layout;
        QLabel *title;
        QLabel *subtitle;
        SymbolButton *closeButton;
    };
    TitleRow buildTitleRow(QWidget *parent, double titlePoints);
    /// Lays the panel out as a column: the header, a hairline under it,
    /// then what the sheet adds to the returned layout.
    QVBoxLayout *layOutPanel(QWidget *header);

    /// Holds the panel's content; children lie inside its rectangle.
    QWidget *panel() const { return m_panel; }
    /// Where the panel lies in a sheet of this size.
    virtual QRect panelRect(const QSize &sheet) const = 0;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Look m_look;
    QWidget *m_panel;
    bool m_backdropPressed = false;
};
