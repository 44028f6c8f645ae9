// The titles the window system is given, read back from the X server as a
// window manager reads them.

#include "app/ApplicationIdentity.h"
#include "app/Lumivane_ViewerApp.h"
#include "tests/support/ChildProcess.h"

#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The _NET_WM_NAME property of the widget's window, as xprop prints it.
QString windowManagerName(const QWidget &widget)
{
    ChildProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(widget.winId()),
                                          QStringLiteral("-notype"), QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000))
        return {};
    // _NET_WM_NAME = "Title"
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype quote = line.indexOf(QLatin1Char('"'));
    return quote < 0 ? line : line.mid(quote + 1).chopped(1);
}

TEST(WindowTitle, WindowManagersShowTheMainWindowAndOpenPanelTitlesExactly)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs the X display (runs with the GL tests)";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) << "x11-utils is missing";
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    applyApplicationIdentity();

    Lumivane_ViewerApp window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(windowManagerName(window).toStdString(), "Lumivane Viewer");

    std::unique_ptr<QFileDialog> panel(window.createOpenPanel());
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    EXPECT_EQ(windowManagerName(*panel).toStdString(), "Ouvrir une visite Lumivane");
}

} // namespace
