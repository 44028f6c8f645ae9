#include "ChildProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// An address that can never be reached: /dev/null is no folder. Connecting
// fails at once, and libdbus starts no bus of its own for a given address.
const QString nowhere = QStringLiteral("unix:path=/dev/null/no-session-bus");

} // namespace

QProcessEnvironment ChildProcess::environment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), nowhere);
    return environment;
}

ChildProcess::ChildProcess(QObject *parent)
    : QProcess(parent)
{
    setProcessEnvironment(environment());
    // Runs in the child between fork and exec.
    setChildProcessModifier([testProgram = ::getpid()] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The test program was gone before the request took effect.
        if (::getppid() != testProgram)
            ::_exit(127);
    });
    connect(this, &QProcess::started, this, [this] { m_group = processId(); });
}

ChildProcess::~ChildProcess()
{
    // Also once the child has ended: what it started may still run in its group.
    if (m_group > 0)
        ::kill(pid_t(-m_group), SIGKILL);
    waitForFinished(5000);
}
