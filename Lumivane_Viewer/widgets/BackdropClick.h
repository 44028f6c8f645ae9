#pragma once

#include <QObject>
#include <QRect>

#include <functional>

class QWidget;

/// Watches a full-size overlay for one click on its backdrop: a left press
/// and release both outside the overlay's content (the card, the column). It
/// is a child of the overlay and filters only that widget's own mouse events,
/// which also receive the clicks its children leave unhandled.
class BackdropClick final : public QObject
{
public:
    BackdropClick(QWidget *overlay, std::function<QRect()> content, std::function<void()> onClick);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<QRect()> m_content;
    std::function<void()> m_onClick;
    bool m_pressedOutside = false;
};
