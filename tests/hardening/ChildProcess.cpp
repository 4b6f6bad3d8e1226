#include "ChildProcess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QByteArray>
#include <QFile>
#include <exception>

namespace {

constexpr uid_t Nobody = 65534;

bool DropPrivileges()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 &&
           ::geteuid() == Nobody;
}

[[noreturn]] void Report(int fd, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n <= 0)
            break;
        written += n;
    }
    ::_exit(0);
}

QString RunChild(const std::function<QString()>& body)
{
    if (!DropPrivileges())
        return QStringLiteral("the child could not become nobody");
    try {
        return body();
    } catch (const std::exception& error) {
        return QStringLiteral("the child threw: ") + QString::fromUtf8(error.what());
    }
}

}  // namespace

QString RunWithoutPrivileges(const std::function<QString()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child < 0)
        return QStringLiteral("no fork");
    if (child == 0) {
        ::close(fds[0]);
        Report(fds[1], RunChild(body));
    }
    ::close(fds[1]);
    QByteArray report;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("the child ended abnormally (status %1): %2")
            .arg(status)
            .arg(QString::fromUtf8(report));
    return QString::fromUtf8(report);
}

void OpenToEveryone(const QString& path)
{
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                  QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                  QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
}
