#include <QApplication>
#include <QByteArray>
#include <QStandardPaths>

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

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing needs no display; test discovery runs without one.
    if (onlyListsTests(argc, argv))
        return RUN_ALL_TESTS();

    const QByteArray platform = qgetenv("LUMIVANE_TEST_PLATFORM");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    // Settings and standard folders of the tests never touch the user's own.
    QStandardPaths::setTestModeEnabled(true);

    QApplication app(argc, argv);
    QApplication::setOrganizationName("LumivaneTests");
    QApplication::setApplicationName("lumivane-tests");
    return RUN_ALL_TESTS();
}
