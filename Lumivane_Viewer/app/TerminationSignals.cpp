#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
int s_pipe[2] = {-1, -1};

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(s_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::quitApplication);

    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int signalNumber : kSignals)
        ::signal(signalNumber, SIG_DFL);
    for (int &descriptor : s_pipe) {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
}

void TerminationSignals::handleSignal(int signalNumber)
{
    const char byte = char(signalNumber);
    [[maybe_unused]] const auto written = ::write(s_pipe[0], &byte, 1);
}

void TerminationSignals::quitApplication()
{
    char byte = 0;
    [[maybe_unused]] const auto read = ::read(s_pipe[1], &byte, 1);
    QCoreApplication::quit();
}
