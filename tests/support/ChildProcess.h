#pragma once

#include <QProcess>
#include <QProcessEnvironment>

/// The one way tests start other programs. Each runs in a process group of
/// its own, killed whole, with whatever the program started in turn, when
/// the object goes: a test that fails and returns early leaves nothing
/// running. Should the test program itself be killed, the system kills the
/// child with it. Children find no session bus unless given one: without
/// an address, libdbus starts a bus by forking the program, and such a fork
/// of a viewer under the sanitizers once hung in their allocator and
/// outlived its test by an hour.
class ChildProcess final : public QProcess
{
public:
    /// This program's environment with the session bus pointing nowhere:
    /// what a child starts with. Extend it rather than the system's.
    static QProcessEnvironment environment();

    explicit ChildProcess(QObject *parent = nullptr);
    ~ChildProcess() override;

    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

private:
    qint64 m_group = 0; // the child's process group, kept past its own end
};
