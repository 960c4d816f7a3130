#include "platform/ProfileFile.h"

#include "platform/ProfileText.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

bool Fail(QString* error, const QString& file, const QString& reason)
{
    if (error)
        *error = QDir::toNativeSeparators(file) + QStringLiteral(": ") + reason;
    return false;
}

} // namespace

std::optional<QString> GetProfileString(const QString& file, const QString& section,
                                        const QString& key)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FindProfileValue(in.readAll(), section, key);
}

bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value, QString* error)
{
    if (!IsStorableProfileEntry(section, key, value))
        return Fail(error, file, QStringLiteral("the entry [%1] %2 cannot be stored").arg(section, key));

    // A file that exists but cannot be read must not be replaced by one holding a single key.
    QByteArray content;
    QFile in(file);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            return Fail(error, file, in.errorString());
        content = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return Fail(error, file, in.errorString());
    }

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return Fail(error, file, out.errorString());
    // A disk that fills up during the last flush leaves a short file that commit() accepts,
    // so the whole text must be seen written before the file is replaced.
    const QByteArray text = SetProfileValue(content, section, key, value);
    if (out.write(text) != text.size() || !out.flush()) {
        out.cancelWriting();
        return Fail(error, file, QStringLiteral("the file could not be written in full"));
    }
    if (!out.commit())
        return Fail(error, file, out.errorString());
    return true;
}
