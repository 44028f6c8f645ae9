// Starts the real viewer on the virtual display and looks at the screen.
// Runs alone (no other window may be on the display), see CMakeLists.txt.

#include "ShellTestPackages.h"

#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {

// Where a viewer's extraction folder holds the lock it keeps while it lives.
const QString lockFileName = QStringLiteral(".lumivane-viewer-owner.lock");

// What each screen is recognised by: the start screen's gradient near its
// top and the red of its error text; an opened tour by the viewer's close
// button (a white cross at the window's top-right corner, over its cover)
// where the start screen's gradient is gone.
bool near(QRgb pixel, int red, int green, int blue, int tolerance)
{
    return std::abs(qRed(pixel) - red) <= tolerance && std::abs(qGreen(pixel) - green) <= tolerance
           && std::abs(qBlue(pixel) - blue) <= tolerance;
}

struct ScreenCounts
{
    int gradientTop = 0;
    int errorRed = 0;
    int closeCross = 0;
};

// Where the viewer's close button lies in a 1280-wide window at the
// screen's top-left corner, under its menu bar.
const QRect closeButtonArea(1220, 20, 50, 60);

ScreenCounts countScreen()
{
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    ScreenCounts counts;
    for (int y = 0; y < image.height(); y += 2) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb pixel = line[x];
            counts.gradientTop += near(pixel, 25, 15, 51, 3);
            counts.closeCross += closeButtonArea.contains(x, y) && near(pixel, 255, 255, 255, 40);
            // Bluer than the pink of the symbol and the button.
            counts.errorRed += qRed(pixel) > 170 && qGreen(pixel) < 90 && qBlue(pixel) < 70;
        }
    }
    return counts;
}

bool waitForScreen(const std::function<bool(const ScreenCounts &)> &shown, int timeoutMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (shown(countScreen()))
            return true;
        QTest::qWait(100);
    }
    return false;
}

bool showsStartScreenWithError(const ScreenCounts &counts)
{
    return counts.gradientTop > 2000 && counts.errorRed > 20;
}

bool showsViewer(const ScreenCounts &counts)
{
    return counts.closeCross > 4 && counts.gradientTop == 0;
}

/// Private temporary, configuration and runtime folders for the viewers one test starts.
class ViewerSmokeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        for (const char *folder : {"tmp", "config", "data", "cache", "runtime"})
            ASSERT_TRUE(QDir(m_root.path()).mkpath(folder));
        QFile::setPermissions(m_root.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A runtime folder of its own makes a viewer that does not hand its
    // request to one already running.
    QProcess &startViewer(const QStringList &arguments, const QString &runtime = QStringLiteral("runtime"))
    {
        EXPECT_TRUE(QDir(m_root.path()).mkpath(runtime));
        QFile::setPermissions(m_root.filePath(runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = ChildProcess::environment();
        environment.insert("TMPDIR", m_root.filePath("tmp"));
        environment.insert("XDG_CONFIG_HOME", m_root.filePath("config"));
        environment.insert("XDG_DATA_HOME", m_root.filePath("data"));
        environment.insert("XDG_CACHE_HOME", m_root.filePath("cache"));
        environment.insert("XDG_RUNTIME_DIR", m_root.filePath(runtime));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        auto viewer = std::make_unique<ChildProcess>();
        viewer->setProcessEnvironment(environment);
        viewer->setProcessChannelMode(QProcess::ForwardedChannels);
        viewer->start(QStringLiteral(LUMIVANE_VIEWER_EXECUTABLE), arguments);
        EXPECT_TRUE(viewer->waitForStarted(5000));
        m_viewers.push_back(std::move(viewer));
        return *m_viewers.back();
    }

    // Ends the viewer as a session logout does; it must quit normally.
    static void quit(QProcess &viewer)
    {
        viewer.terminate();
        ASSERT_TRUE(viewer.waitForFinished(10000));
        EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(viewer.exitCode(), 0);
    }

    QStringList extractionFolders() const
    {
        return QDir(m_root.filePath("tmp")).entryList({"lumivane-import-*"}, QDir::AllEntries | QDir::Hidden);
    }

    bool isLocked(const QString &folder) const
    {
        return QFile::exists(m_root.filePath("tmp/" + folder + "/" + lockFileName));
    }

    QString sampleTour() const { return QStringLiteral(LUMIVANE_BINARY_DIR "/samples/demo.lumivane"); }

    QString corruptPackage()
    {
        const QString path = m_root.filePath("corrupt.lumivane");
        EXPECT_TRUE(ShellTestPackages::writeCorrupt(path));
        return path;
    }

    QTemporaryDir m_root;
    std::vector<std::unique_ptr<ChildProcess>> m_viewers; // killed as the test ends
};

TEST_F(ViewerSmokeTest, SampleTourIsShownAndNothingIsLeftAfterQuitting)
{
    if (!QFile::exists(sampleTour()))
        GTEST_SKIP() << "the sample tour is not built: " << sampleTour().toStdString();
    QProcess &viewer = startViewer({sampleTour()});

    EXPECT_TRUE(waitForScreen(showsViewer));
    QTest::qWait(1000);
    EXPECT_EQ(viewer.state(), QProcess::Running);
    EXPECT_EQ(extractionFolders().size(), 1);

    quit(viewer);
    EXPECT_EQ(extractionFolders(), QStringList());
}

TEST_F(ViewerSmokeTest, CorruptPackageShowsTheMessageAndLeavesNothing)
{
    QProcess &viewer = startViewer({corruptPackage()});

    EXPECT_TRUE(waitForScreen(showsStartScreenWithError));
    QTest::qWait(1000);
    EXPECT_EQ(viewer.state(), QProcess::Running);

    quit(viewer);
    EXPECT_EQ(extractionFolders(), QStringList());
}

TEST_F(ViewerSmokeTest, SecondLaunchHandsItsPackageToTheRunningViewer)
{
    const QString package = m_root.filePath("handed over.lumivane");
    ASSERT_TRUE(ShellTestPackages::writeTour(package, ShellTestPackages::makeTour("Relais", 2)));
    QProcess &first = startViewer({corruptPackage()});
    ASSERT_TRUE(waitForScreen(showsStartScreenWithError));

    QProcess &second = startViewer({package});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_TRUE(waitForScreen(showsViewer));
    EXPECT_EQ(first.state(), QProcess::Running);
    quit(first);
    EXPECT_EQ(extractionFolders(), QStringList());
}

TEST_F(ViewerSmokeTest, NextStartRemovesAKilledViewersFolderButNoLiveOnes)
{
    const QString package = m_root.filePath("tour.lumivane");
    ASSERT_TRUE(ShellTestPackages::writeTour(package, ShellTestPackages::makeTour("Relais", 2)));
    const auto foldersBecome = [this](const std::function<bool(const QStringList &)> &wanted) {
        return QTest::qWaitFor([&] { return wanted(extractionFolders()); }, 15000);
    };

    QProcess &killed = startViewer({package}, "runtime-killed");
    // Killed once its folder holds its lock: a folder not yet locked tells
    // no clean-up that it is abandoned.
    ASSERT_TRUE(foldersBecome([this](const QStringList &folders) {
        return folders.size() == 1 && isLocked(folders[0]);
    }));
    const QString left = extractionFolders().first();
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished(10000));
    EXPECT_EQ(extractionFolders(), QStringList({left}));

    QProcess &alive = startViewer({package}, "runtime-alive");
    ASSERT_TRUE(foldersBecome([&](const QStringList &folders) { return folders.size() == 1 && folders[0] != left; }))
        << extractionFolders().join(", ").toStdString();
    const QString aliveFolder = extractionFolders().first();

    // An abandoned folder for the third viewer's clean-up: once it is gone,
    // that clean-up has run, and the live viewer's folder must still be there.
    const QString abandoned = QStringLiteral("lumivane-import-abandoned");
    ASSERT_TRUE(QDir(m_root.filePath("tmp")).mkpath(abandoned));
    QFile unlocked(m_root.filePath("tmp/" + abandoned + "/" + lockFileName));
    ASSERT_TRUE(unlocked.open(QIODevice::WriteOnly));
    unlocked.close();
    QProcess &third = startViewer({package}, "runtime-third");
    ASSERT_TRUE(foldersBecome([&](const QStringList &folders) {
        return !folders.contains(abandoned) && folders.size() == 2;
    })) << extractionFolders().join(", ").toStdString();
    EXPECT_TRUE(extractionFolders().contains(aliveFolder));

    quit(alive);
    quit(third);
    EXPECT_EQ(extractionFolders(), QStringList());
}

TEST_F(ViewerSmokeTest, QuittingWhileAPhotoDecodesForeverEndsTheProcess)
{
    // The start photo links to a pipe, made once the package is being
    // unpacked, that never gives a byte: its decode blocks in a read that
    // nothing can end, as on a stalled disk.
    ShellTestPackages::Tour tour = ShellTestPackages::makeTour("Relais", 2);
    tour.firstPhotoLink = "../pipe";
    const QString package = m_root.filePath("tour.lumivane");
    ASSERT_TRUE(ShellTestPackages::writeTour(package, tour));
    QProcess &viewer = startViewer({package});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !extractionFolders().isEmpty(); }, 15000));
    const QByteArray pipe = QFile::encodeName(m_root.filePath("tmp/" + extractionFolders().first() + "/pipe"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    // A writer opens without waiting only once a reader holds the pipe.
    int writer = -1;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; },
                                15000))
        << "the photo was never read";

    // Two seconds at most once the window is closed; more for a loaded machine.
    viewer.terminate();
    EXPECT_TRUE(viewer.waitForFinished(5000)) << "still running after the quit";
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.exitCode(), 0);
    EXPECT_EQ(extractionFolders(), QStringList());
    ::close(writer);
}

} // namespace
