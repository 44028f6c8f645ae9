#include "NullSinkRecorder.h"

#include <QStandardPaths>
#include <QTest>

#include <cstring>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    ChildProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(3000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

QString NullSinkRecorder::unavailableReason()
{
    if (QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        return QStringLiteral("parec is not installed (pulseaudio-utils)");
    if (run(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")}) != QLatin1String("null"))
        return QStringLiteral("no PulseAudio server with the default sink \"null\" "
                              "(scripts/test.sh starts one)");
    return {};
}

NullSinkRecorder::NullSinkRecorder()
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { collect(); });
}

NullSinkRecorder::~NullSinkRecorder()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(2000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool NullSinkRecorder::start()
{
    m_process.start(QStringLiteral("parec"),
        {QStringLiteral("-d"), QStringLiteral("null.monitor"), QStringLiteral("--format=s16le"),
            QStringLiteral("--rate=44100"), QStringLiteral("--channels=1"),
            QStringLiteral("--latency-msec=10")});
    if (!m_process.waitForStarted(3000))
        return false;
    return QTest::qWaitFor([this] { return !m_bytes.isEmpty(); }, 3000);
}

void NullSinkRecorder::collect()
{
    m_bytes.append(m_process.readAllStandardOutput());
}

QVector<qint16> NullSinkRecorder::samples()
{
    collect();
    QVector<qint16> result(m_bytes.size() / 2);
    std::memcpy(result.data(), m_bytes.constData(), size_t(result.size()) * 2);
    return result;
}

QVector<qint16> NullSinkRecorder::record(int milliseconds)
{
    const qsizetype from = samples().size();
    const qsizetype wanted = qsizetype(milliseconds) * sampleRate / 1000;
    QTest::qWait(milliseconds);
    // Samples come in blocks: wait for the whole stretch rather than judge a
    // short one, which would make any silence test pass by default.
    (void)QTest::qWaitFor([&] { return samples().size() - from >= wanted; }, 2000);
    return samples().mid(from, wanted);
}
