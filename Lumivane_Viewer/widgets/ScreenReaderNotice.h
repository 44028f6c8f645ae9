#pragma once

#include <QString>
#include <QWidget>

/// What a screen reader is to say of a change it would not otherwise hear:
/// an empty widget of no size that assistive technology reads as a
/// notification named by the notice, shown anew for each one. Qt 6.4 passes
/// no alert to the Linux accessibility bus, but it passes a notification
/// coming into view, and Orca speaks that. Takes neither the keyboard nor a
/// click. GUI thread.
class ScreenReaderNotice final : public QWidget
{
public:
    explicit ScreenReaderNotice(QWidget *parent);

    /// Said now, also when it is the text said last.
    void say(const QString &text);
};
