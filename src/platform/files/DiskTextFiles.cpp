#include "platform/files/DiskTextFiles.h"

#include "platform/files/HousekeepingPath.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A rename or a new file is an entry in the directory: it outlives a power loss only once the
// directory itself is on disk.
void syncDirectoryOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The kernel's lock on an open file: it goes with the descriptor, so a writer that dies holding it
// leaves nothing stale behind, and a waiter gets it the moment it is let go.
struct FlockHold final : TextFiles::Hold
{
    explicit FlockHold(int fd) : fd(fd) {}
    ~FlockHold() override { ::close(fd); }
    int fd;
};

} // namespace

bool DiskTextFiles::exists(const QString& path) const
{
    return QFileInfo(path).isFile();
}

TextFiles::Read DiskTextFiles::read(const QString& path) const
{
    QFile file(path);
    if (!file.exists())
        return std::optional<QByteArray>();
    if (!file.open(QIODevice::ReadOnly))
        return Read::failed(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        return Read::failed(file.errorString());
    return std::optional<QByteArray>(std::move(bytes));
}

Result DiskTextFiles::append(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    const bool created = !file.exists();
    // Unbuffered, so that after a failed write no buffered rest reaches the file at close.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Result::failed(file.errorString());
    QByteArray data = bytes;
    const qint64 size = file.size();
    if (size > 0) {
        file.seek(size - 1);
        char last = 0;
        if (file.getChar(&last) && last != '\n')
            data.prepend("\r\n");
    }
    file.seek(size);
    // One write, checked: a short write or a full disk is reported, never ignored.
    const qint64 written = file.write(data);
    if (written != data.size()) {
        const QString why = written < 0 ? file.errorString() : QStringLiteral("No space left on device");
        file.resize(size); // take back whatever part of the line did get written
        return Result::failed(why);
    }
    // The next step may rely on this line (a deletion rewrites the agenda once its archive line
    // is written): it must be on disk before that, not in the page cache.
    if (::fsync(file.handle()) != 0) {
        const QString why = QString::fromLocal8Bit(strerror(errno));
        file.resize(size);
        return Result::failed(why);
    }
    if (created)
        syncDirectoryOf(path);
    return Result::done();
}

Result DiskTextFiles::replace(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result::failed(file.errorString());
    // QSaveFile can miss a full disk in its buffer: check the write and the flush before committing.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Result::failed(why);
    }
    // commit() syncs the new file before renaming it over the old one.
    if (!file.commit())
        return Result::failed(file.errorString());
    syncDirectoryOf(path);
    return Result::done();
}

std::unique_ptr<TextFiles::Hold> DiskTextFiles::holdFolderOf(const QString& path)
{
    const QByteArray lockPath =
        QFile::encodeName(housekeepingPathFor(QFileInfo(path).absolutePath()) + QStringLiteral(".write"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A folder where no lock can be made at all must not stop the writes themselves.
    if (fd < 0)
        return std::make_unique<Hold>();
    auto hold = std::make_unique<FlockHold>(fd);
    // Writers hold it for milliseconds; one that holds it for seconds is stuck.
    const QDeadlineTimer deadline(m_holdLimit);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return std::make_unique<Hold>();
        if (deadline.hasExpired())
            return nullptr;
        QThread::usleep(500);
    }
    return hold;
}
