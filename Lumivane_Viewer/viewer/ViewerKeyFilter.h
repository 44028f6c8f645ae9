#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;

/// The viewer's one key handler. Installed on the application, it sees each
/// key press meant for the viewer's window before any widget does and hands
/// it to `handle`, which says whether it used it; so no two shortcuts ever
/// compete for a key. Escape always goes to `handle`; other keys stay with
/// the focus when it keeps them (keepsKey). Key presses for other windows
/// (dialogs, menus) pass untouched.
class ViewerKeyFilter final : public QObject
{
public:
    using Handler = std::function<bool(const QKeyEvent &event)>;

    ViewerKeyFilter(QWidget &viewer, Handler handle);

    /// Whether the widget types text, so that it keeps its keys.
    static bool isTextField(const QWidget *widget);
    /// Whether the key, Escape aside, belongs to the focused widget rather
    /// than to `handle`: typing stays typing, a scroll area of text scrolls,
    /// every key typed in a modal card is the card's, and a control reached with Tab is pressed by
    /// Space and Return while the visitor navigates.
    bool keepsKey(const QWidget &focus, const QKeyEvent &key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isForViewer(const QWidget *receiver) const;

    QPointer<QWidget> m_viewer;
    Handler m_handle;
};
