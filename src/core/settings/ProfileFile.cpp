#include "core/settings/ProfileFile.h"

#include "core/settings/ProfileText.h"
#include "files/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Far beyond any settings file; a larger file is not read into memory.
constexpr qint64 kLargestProfile = 64 * 1024 * 1024;

bool Fail(QString* error, const QString& file, const QString& reason)
{
    if (error)
        *error = QDir::toNativeSeparators(file) + QStringLiteral(": ") + reason;
    return false;
}

// The bytes of `file`: empty when it is missing or is not a plain file (a folder, a device or
// a pipe, which is never read and which the writer refuses to replace); std::nullopt when it
// cannot be read, with the reason in `error`.
std::optional<QByteArray> ReadProfileBytes(const QString& file, QString* error)
{
    const QFileInfo info(file);
    if (!info.isFile())
        return QByteArray();
    const QString tooLarge = QStringLiteral("larger than a settings file can be (64 MiB)");
    if (info.size() > kLargestProfile) {
        Fail(error, file, tooLarge);
        return std::nullopt;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        Fail(error, file, in.errorString());
        return std::nullopt;
    }
    QByteArray content = in.read(kLargestProfile + 1);
    if (in.error() != QFileDevice::NoError) {
        Fail(error, file, in.errorString());
        return std::nullopt;
    }
    if (content.size() > kLargestProfile) {
        Fail(error, file, tooLarge);
        return std::nullopt;
    }
    return content;
}

} // namespace

std::optional<QString> GetProfileString(const QString& file, const QString& section,
                                        const QString& key)
{
    const std::optional<QByteArray> content = ReadProfileBytes(file, nullptr);
    if (!content)
        return std::nullopt;
    return FindProfileValue(*content, section, key);
}

bool WriteProfileStrings(const QString& file, const QList<ProfileEntry>& entries,
                         QString* error)
{
    for (const ProfileEntry& entry : entries) {
        if (!IsStorableProfileEntry(entry.section, entry.key, entry.value))
            return Fail(error, file, QStringLiteral("the entry [%1] %2 cannot be stored")
                                         .arg(entry.section, entry.key));
    }
    // A file that exists but cannot be read must not be replaced by one holding only these keys.
    std::optional<QByteArray> content = ReadProfileBytes(file, error);
    if (!content)
        return false;
    for (const ProfileEntry& entry : entries)
        *content = SetProfileValue(*content, entry.section, entry.key, entry.value);
    const Result<void> written =
        WriteFileSafely(QFile::encodeName(file).constData(), content->constData(),
                        std::size_t(content->size()));
    if (written)
        return true;
    if (error)
        *error = QString::fromStdString(written.failure().english);
    return false;
}
