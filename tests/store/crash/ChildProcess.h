#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

namespace crash {

// A helper program started with fork and exec (no shell), whose descriptor 3 is a
// pipe to us and, when asked, whose descriptor 4 is a pipe from us. A child still
// running when this object goes is killed and reaped.
class ChildProcess {
public:
    static constexpr int kReportFd = 3;
    static constexpr int kGoFd = 4;

    struct Options {
        bool goPipe = false;
        std::optional<uid_t> user; // run as this user (and its group) when set
        std::optional<gid_t> group;
    };

    ChildProcess(const QString& program, const QStringList& arguments, const Options& options);
    ChildProcess(const QString& program, const QStringList& arguments)
        : ChildProcess(program, arguments, Options{}) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    // What the child reports within the next milliseconds.
    QByteArray readFor(int milliseconds);
    // Everything up to the child's end (its side of the pipe closed).
    QByteArray readToEnd();
    void sendGo();
    // SIGKILL, then the wait status.
    int kill();
    int wait();

private:
    pid_t m_pid = -1;
    int m_report = -1; // our read end
    int m_go = -1;     // our write end
};

} // namespace crash
