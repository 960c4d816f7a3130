#include "batch/BatchList.h"

#include "base/Failure.h"
#include "core/text/FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
Failure ListFailure(const QString& list, std::size_t line, const char* what)
{
    return {PrintableFileName(list).toStdString() + ": line " + std::to_string(line) + " " + what,
            {}};
}
} // namespace

Result<void> ListReader::Line(QByteArrayView line)
{
    ++lines_;
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.contains('\0'))
        return ListFailure(list_, lines_, "holds a NUL byte, which no file name has");
    if (line.isEmpty())
        return {};
    if (std::size_t(names_.size()) == kMaxListNames)
        return ListFailure(list_, lines_, "is one name too many: a list names 1000000 at most");
    names_ << DecodeFileName(line);
    return {};
}

Result<void> ListReader::Add(QByteArrayView bytes)
{
    for (qsizetype newline; (newline = bytes.indexOf('\n')) >= 0; bytes = bytes.sliced(newline + 1)) {
        const QByteArrayView rest = bytes.first(newline);
        if (pending_.size() + rest.size() > kMaxListLine)
            return ListFailure(list_, lines_ + 1, "is longer than 4096 bytes, which no file name is");
        Result<void> line = pending_.isEmpty() ? Line(rest) : Line(pending_ + rest.toByteArray());
        pending_.clear();
        if (!line)
            return line;
    }
    if (pending_.size() + bytes.size() > kMaxListLine)
        return ListFailure(list_, lines_ + 1, "is longer than 4096 bytes, which no file name is");
    pending_ += bytes;
    return {};
}

Result<QStringList> ListReader::Finish()
{
    if (!pending_.isEmpty())
        if (Result<void> line = Line(std::exchange(pending_, {})); !line)
            return line.failure();
    return names_;
}

Result<QStringList> ReadList(const QString& list)
{
    const bool standardInput = list == u"-";
    const int fd = standardInput ? STDIN_FILENO : ::open(EncodeFileName(list).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return FileFailure(FileStep::Open, PrintableFileName(list).toStdString(), errno);
    struct stat info {};
    std::optional<Failure> failure;
    if (::fstat(fd, &info) != 0)
        failure = FileFailure(FileStep::Read, PrintableFileName(list).toStdString(), errno);
    else if (!standardInput && !S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))
        failure = Failure{PrintableFileName(list).toStdString() + ": a list is a plain file or a pipe, not " +
                              (S_ISDIR(info.st_mode) ? "a folder" : "a device or a socket"),
                          {}};
    ListReader reader(list);
    for (char block[65536]; !failure;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failure = FileFailure(FileStep::Read, PrintableFileName(list).toStdString(), errno);
        if (got <= 0)
            break;
        if (Result<void> added = reader.Add(QByteArrayView(block, got)); !added)
            failure = added.failure();
    }
    if (!standardInput)
        ::close(fd);
    if (failure)
        return *failure;
    return reader.Finish();
}
