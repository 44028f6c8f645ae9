#pragma once

#include <QObject>
#include <QPointer>

class QAbstractScrollArea;
class QKeyEvent;
class QWidget;

/// Makes a scroll area of text readable from the keyboard: while its
/// content overflows it takes the focus from Tab, shows the focus ring just
/// around it while the visitor navigates, and scrolls with Up, Down,
/// PageUp, PageDown, Home and End, and with Space and Shift+Space while the
/// ring shows. Content that fits leaves it out of the Tab order. Made by
/// KeyboardFocus::makeReachable, owned by the area. GUI thread only.
class ScrollAreaFocus final : public QObject
{
    Q_OBJECT

public:
    explicit ScrollAreaFocus(QAbstractScrollArea &area);
    ~ScrollAreaFocus() override;

    /// Whether the widget is a reachable scroll area that scrolls by the key,
    /// so that the key is the area's rather than a shortcut's.
    static bool scrollsBy(const QWidget &widget, const QKeyEvent &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followOverflow();
    bool scroll(const QKeyEvent &key);
    void placeRing();
    void followNavigation();

    QAbstractScrollArea *m_area;
    /// Drawn over the area's parent, outside the area where there is room:
    /// text may reach the area's edges.
    QPointer<QWidget> m_ring;
    bool m_ringShown = false;
};
