#include "ChildProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace crash {

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments,
                           const Options& options) {
    // Everything the child needs is made before fork: after it, only calls that
    // are safe in a forked copy of a threaded process.
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int report[2];
    int go[2] = {-1, -1};
    if (::pipe2(report, O_CLOEXEC) != 0)
        return;
    if (options.goPipe && ::pipe2(go, O_CLOEXEC) != 0) {
        ::close(report[0]);
        ::close(report[1]);
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        // Out of the way of descriptors 3 and 4 first, then into place.
        const int reportCopy = ::fcntl(report[1], F_DUPFD, 10);
        const int goCopy = options.goPipe ? ::fcntl(go[0], F_DUPFD, 10) : -1;
        if (reportCopy < 0 || ::dup2(reportCopy, kReportFd) < 0 ||
            (options.goPipe && (goCopy < 0 || ::dup2(goCopy, kGoFd) < 0)))
            _exit(126);
        if (options.group && (::setgroups(0, nullptr) != 0 || ::setgid(*options.group) != 0))
            _exit(126);
        if (options.user && ::setuid(*options.user) != 0)
            _exit(126);
        ::execv(argv[0], argv.data());
        _exit(127);
    }
    ::close(report[1]);
    m_report = report[0];
    if (options.goPipe) {
        ::close(go[0]);
        m_go = go[1];
    }
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0)
        kill();
    if (m_report >= 0)
        ::close(m_report);
    if (m_go >= 0)
        ::close(m_go);
}

QByteArray ChildProcess::readFor(int milliseconds) {
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const qint64 left = milliseconds - timer.elapsed();
        if (left <= 0 || m_report < 0)
            return out;
        pollfd poller{m_report, POLLIN, 0};
        const int ready = ::poll(&poller, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return out;
        char buffer[4096];
        const ssize_t n = ::read(m_report, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) { // the child has closed its end: nothing more will come
            ::usleep(1000);
            continue;
        }
        out.append(buffer, n);
    }
}

QByteArray ChildProcess::readToEnd() {
    QByteArray out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_report, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return out;
        out.append(buffer, n);
    }
}

void ChildProcess::sendGo() {
    const char byte = 'g';
    if (m_go >= 0 && ::write(m_go, &byte, 1) != 1) {
        // The child is gone; its status tells the test.
    }
}

int ChildProcess::kill() {
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
    return wait();
}

int ChildProcess::wait() {
    int status = 0;
    if (m_pid > 0) {
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
    }
    return status;
}

} // namespace crash
