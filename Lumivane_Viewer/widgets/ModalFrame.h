#pragma once

#include "SoftShadow.h"
#include "ViewerDialog.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>

class QVBoxLayout;

/// How a modal frame looks: the backdrop over the whole frame and the
/// rounded panel on it.
struct ModalFrameLook
{
    QColor backdrop;
    QColor panel;
    double cornerRadius = 14;
    std::optional<DropShadow> shadow;
};

/// A layer that fills what it is given: a dimmed backdrop and one rounded
/// panel on it, the base of every card and sheet that covers the viewer. A
/// click on the backdrop asks to close; clicks on the panel never do. The
/// backdrop, the panel's shadow and its background are painted here in one
/// pass, so the frame stays cheap to compose over a panorama. Subclasses fill
/// the panel's column and name the frame after their title: assistive
/// technology sees a dialog. The owner closes it in onClose (with
/// deleteLater when it deletes it).
class ModalFrame : public QWidget
{
public:
    /// Asks the owner to close the frame.
    std::function<void()> onClose;

    /// The panel's rectangle in the frame.
    QRect panelGeometry() const;

protected:
    ModalFrame(ModalFrameLook look, DialogFocus focus, QWidget *parent);

    /// Holds the panel's content; children lie inside its rectangle.
    QWidget *panel() const { return m_panel; }
    /// The panel's rows, top to bottom, without margins or spacing.
    QVBoxLayout *panelColumn() const { return m_column; }
    /// Where the panel lies in a frame of this size. By default centred, as
    /// large as the panel asks (its fixed width, and the height its content
    /// needs at that width) within the frame.
    virtual QRect panelRect(const QSize &frame) const;
    /// What a click on the backdrop runs: onClose, unless a subclass has
    /// something to end first.
    virtual void requestClose();

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placePanel();

    ModalFrameLook m_look;
    QWidget *m_panel;
    QVBoxLayout *m_column;
};
