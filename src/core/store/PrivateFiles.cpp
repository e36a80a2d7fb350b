#include "core/store/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cs42::PrivateFiles {

namespace {
#ifdef Q_OS_UNIX
struct Access
{
    mode_t mode = S_IRUSR | S_IWUSR;
    gid_t group = gid_t(-1); // -1: the account's own
};

// A folder whose group may write in it is shared by an office's accounts.
Access accessIn(const QString& path)
{
    Access access;
    struct stat folder;
    const QByteArray name = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::stat(name.constData(), &folder) == 0 && (folder.st_mode & S_IWGRP) != 0) {
        access.mode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP;
        access.group = folder.st_gid;
    }
    return access;
}

void apply(int fd, const Access& access)
{
    // Joining the folder's group works only for a member of it: then the file stays private.
    if (access.group != gid_t(-1) && ::fchown(fd, uid_t(-1), access.group) != 0) {
        ::fchmod(fd, S_IRUSR | S_IWUSR);
        return;
    }
    ::fchmod(fd, access.mode);
}

QString reason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
#endif
} // namespace

bool prepare(const QString& path, QString* error, bool* created)
{
    if (created)
        *created = false;
#ifdef Q_OS_UNIX
    const Access access = accessIn(path);
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, access.mode);
    if (fd < 0) {
        if (errno == EEXIST) {
            restrict(path);
            return true;
        }
        if (error)
            *error =
                QStringLiteral("%1 cannot be created (%2).").arg(QDir::toNativeSeparators(path), reason());
        return false;
    }
    apply(fd, access);
    ::close(fd);
    if (created)
        *created = true;
    return true;
#else
    if (QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (created)
        *created = true;
    return true;
#endif
}

void restrict(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    struct stat file;
    if (::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_uid == ::geteuid()) {
        const Access access = accessIn(path);
        const mode_t narrowed = file.st_mode & 07777 & access.mode;
        if (access.group != gid_t(-1) && file.st_gid != access.group)
            apply(fd, {narrowed, access.group});
        else if (narrowed != (file.st_mode & 07777))
            ::fchmod(fd, narrowed);
    }
    ::close(fd);
#else
    Q_UNUSED(path);
#endif
}

bool copy(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    QFile::remove(target);
    if (!prepare(target, error))
        return false;
    QFile out(target);
    bool done = out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    while (done && !in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        done = !block.isEmpty() && out.write(block) == block.size();
    }
    done = done && out.flush();
    if (!done) {
        if (error)
            *error = out.errorString().isEmpty() ? in.errorString() : out.errorString();
        out.close();
        QFile::remove(target);
    }
    return done;
}

bool makePrivateFolder(const QString& path)
{
    const QString absolute = QDir(path).absolutePath();
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).absolutePath();
    if (parent != absolute && !makePrivateFolder(parent))
        return false;
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(absolute);
    return ::mkdir(name.constData(), S_IRWXU) == 0 || QFileInfo(absolute).isDir();
#else
    return QDir().mkdir(absolute) || QFileInfo(absolute).isDir();
#endif
}

} // namespace cs42::PrivateFiles
