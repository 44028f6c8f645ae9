// libFuzzer target: archive bytes in, a tour or an error out. After every
// input, the temporary folder must be empty again and nothing may have been
// written beside it.

#include "app/package/LumivaneImportedTour.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString g_tempRoot;   // TMPDIR: receives the extraction folders
QString g_workFolder; // its parent: holds the input file and nothing else
QString g_inputPath;

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

[[noreturn]] void stop(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz_package_open: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

void checkTour(const LumivaneImportedTour &tour)
{
    const QString folder = QDir(tour.extractionFolder.toLocalFile()).absolutePath();
    if (QDir(folder + "/..").absolutePath() != g_tempRoot)
        stop("extraction folder outside the temporary folder", folder);
    for (const QUrl &photo : tour.photoURLs) {
        if (!photo.toLocalFile().startsWith(folder + '/'))
            stop("photo outside the extraction folder", photo.toString());
    }
    for (const Station &station : tour.project.stations)
        (void)tour.audioURL(station.id);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    QCoreApplication::setOrganizationName(QStringLiteral("LumivaneFuzz"));
    QStandardPaths::setTestModeEnabled(true);
    if (qEnvironmentVariableIsEmpty("TMPDIR"))
        stop("setup", QStringLiteral("TMPDIR must name an empty folder of this run's own"));
    g_tempRoot = QDir(QDir::tempPath()).absolutePath();
    g_workFolder = QDir(g_tempRoot + "/..").absolutePath();
    g_inputPath = g_workFolder + "/input.lumivane";
    if (!entriesOf(g_tempRoot).isEmpty())
        stop("setup", QStringLiteral("TMPDIR is not empty"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile input(g_inputPath);
    if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || input.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        stop("cannot write the input", g_inputPath);
    input.close();

    {
        // The result owns the folder of a successful opening: it goes with it.
        const LumivaneImportedTour::OpenResult result = LumivaneImportedTour::open(QUrl::fromLocalFile(g_inputPath));
        if (result)
            checkTour(*result);
        else if (result.error().message().isEmpty())
            stop("failure without a message", {});
    }

    if (const QStringList left = entriesOf(g_tempRoot); !left.isEmpty())
        stop("left in the temporary folder", left.join(", "));
    if (const QStringList beside = entriesOf(g_workFolder); beside != QStringList({"input.lumivane", QDir(g_tempRoot).dirName()}))
        stop("written beside the temporary folder", beside.join(", "));
    return 0;
}
