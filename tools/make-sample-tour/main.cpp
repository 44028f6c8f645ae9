#include "SampleTourWriter.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

namespace {

std::optional<SampleTourVariant> variantFromText(const QString &text)
{
    if (text == QLatin1String("demo"))
        return SampleTourVariant::Demo;
    if (text == QLatin1String("password"))
        return SampleTourVariant::Password;
    if (text == QLatin1String("classic"))
        return SampleTourVariant::Classic;
    return std::nullopt;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "make-sample-tour: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts and painting need a GUI application, never a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("make-sample-tour"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a sample .lumivane tour package."));
    parser.addHelpOption();
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Package to write."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption variant(QStringLiteral("variant"), QStringLiteral("demo, password or classic."),
                                     QStringLiteral("NAME"), QStringLiteral("demo"));
    const QCommandLineOption stations(QStringLiteral("stations"),
                                      QStringLiteral("Generate N rooms instead of the demo house."),
                                      QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption photoWidth(QStringLiteral("photo-width"),
                                        QStringLiteral("Photo width in pixels (height is half)."),
                                        QStringLiteral("W"), QStringLiteral("4096"));
    const QCommandLineOption enlargedStart(QStringLiteral("enlarged-start-photo"),
                                           QStringLiteral("Start photo enlarged to this width (16 to 65535; "
                                                          "height is half)."),
                                           QStringLiteral("W"), QStringLiteral("0"));
    const QCommandLineOption quality(QStringLiteral("jpeg-quality"), QStringLiteral("JPEG quality, 1 to 100."),
                                     QStringLiteral("Q"), QStringLiteral("85"));
    const QCommandLineOption stored(QStringLiteral("stored"), QStringLiteral("Store members without compression."));
    const QCommandLineOption noMedia(QStringLiteral("no-media"),
                                     QStringLiteral("Do not run ffmpeg or espeak-ng (no video, narration)."));
    const QCommandLineOption noNarration(QStringLiteral("no-narration"),
                                         QStringLiteral("Leave out the stations' narration."));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("Tour password of the password variant."),
                                      QStringLiteral("TEXT"), QStringLiteral("lumivane"));
    parser.addOptions({output, variant, stations, photoWidth, enlargedStart, quality, stored, noMedia, noNarration, password});
    parser.process(app);

    if (!parser.isSet(output))
        return fail(QStringLiteral("--output is required"));
    SampleTourOptions options;
    const std::optional<SampleTourVariant> chosen = variantFromText(parser.value(variant));
    if (!chosen)
        return fail(QStringLiteral("unknown variant ") + parser.value(variant));
    options.variant = *chosen;
    bool numbersOk = true;
    bool ok = false;
    options.stationCount = parser.value(stations).toInt(&ok);
    numbersOk = numbersOk && ok && options.stationCount >= 0;
    options.photoWidth = parser.value(photoWidth).toInt(&ok);
    numbersOk = numbersOk && ok && options.photoWidth >= 16 && options.photoWidth <= 16384;
    options.enlargedStartPhotoWidth = parser.value(enlargedStart).toInt(&ok);
    numbersOk = numbersOk && ok
        && (options.enlargedStartPhotoWidth == 0
            || (options.enlargedStartPhotoWidth >= 16 && options.enlargedStartPhotoWidth <= 65535));
    options.jpegQuality = parser.value(quality).toInt(&ok);
    numbersOk = numbersOk && ok && options.jpegQuality >= 1 && options.jpegQuality <= 100;
    if (!numbersOk)
        return fail(QStringLiteral("--stations, --photo-width (16 to 16384), --enlarged-start-photo (16 to 65535) "
                                   "or --jpeg-quality out of range"));
    options.stored = parser.isSet(stored);
    options.externalMedia = !parser.isSet(noMedia);
    options.narration = !parser.isSet(noNarration);
    options.password = parser.value(password);

    QElapsedTimer timer;
    timer.start();
    const SampleTourResult result = writeSampleTour(options, parser.value(output));
    if (!result.ok)
        return fail(result.error);
    for (const QString &skipped : result.skipped)
        std::fprintf(stderr, "make-sample-tour: left out %s\n", qPrintable(skipped));
    std::printf("Wrote %s: %lld stations, %lld members in %.1f s\n", qPrintable(parser.value(output)),
                qlonglong(result.stationIds.size()), qlonglong(result.members.size()), timer.elapsed() / 1000.0);
    return 0;
}
