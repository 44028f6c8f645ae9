#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGTERM, SIGINT and SIGHUP into a normal quit of the event loop, so
/// that what a normal quit cleans up is also cleaned up when the session or
/// a test ends the process.
class TerminationSignals final : public QObject
{
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    static void handleSignal(int signalNumber);
    void quitApplication();

    QSocketNotifier *m_notifier = nullptr;
};
