#include "media/sound/MediaBackend.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

bool onlyListsTests(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    }
    return false;
}

// ctest runs every case as its own process, many at once: each gets a home
// of its own, so settings and Documents folders never leak between cases or
// into the user's home. Caches stay shared: GStreamer would otherwise rebuild
// its plugin registry in every process.
void isolateHome(const QTemporaryDir &home)
{
    const QByteArray realHome = qgetenv("HOME");
    if (!qEnvironmentVariableIsSet("XDG_CACHE_HOME") && !realHome.isEmpty())
        qputenv("XDG_CACHE_HOME", realHome + "/.cache");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(".local/share")));
}

int runTests(int argc, char **argv)
{
    QTemporaryDir home;
    if (home.isValid())
        isolateHome(home);

    const QByteArray platform = qgetenv("LUMIVANE_TEST_PLATFORM");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    // As the viewer does.
    keepMediaOffTheNetwork();
    keepVideoSinksOutOfDecoding();
    // Settings and standard folders of the tests never touch the user's own.
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    QApplication::setOrganizationName("LumivaneTests");
    QApplication::setApplicationName("lumivane-tests");
    return RUN_ALL_TESTS();
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing needs no display; test discovery runs without one.
    if (onlyListsTests(argc, argv))
        return RUN_ALL_TESTS();

    // As the viewer does: the end of a test's last sound often brings the
    // reply that Qt Multimedia's teardown at exit crashes on.
    exitWithoutLibraryTeardown(runTests(argc, argv));
}
