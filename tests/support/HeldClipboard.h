#pragma once

#include "DisplayLock.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

/// The clipboard holding a text of this program's for as long as the object
/// lives, which the other test programs on the virtual display leave alone
/// meanwhile. Setting it is not enough there: the X server refuses a new
/// owner whose last event is older than the clipboard's last change by
/// another program ("Cannot set X11 selection owner"), and a paste then gets
/// that program's text. The text is set again, with the event of that change
/// in hand, until the server names this program.
class HeldClipboard final
{
public:
    explicit HeldClipboard(const QString &text)
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        // Should it never be held, the paste of another text fails the test.
        (void)QTest::qWaitFor(
            [&] {
                auto *data = new QMimeData;
                data->setText(text);
                clipboard->setMimeData(data);
                // The data set comes back only from the clipboard's owner.
                return clipboard->mimeData() == data;
            },
            5000);
    }

private:
    DisplayLock m_lock{QStringLiteral("clipboard")};
};
