#pragma once
// The codec's view of test pictures, files' bytes, and the codec's reasons checked.
#include "codec/Codec.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <string>

// The codec's surface over a Format_RGB32 picture, which must outlive it.
inline CodecSurface SurfaceOf(QImage& picture, std::uint32_t background = 0)
{
    return {picture.bits(), picture.width(), picture.height(),
            static_cast<std::int32_t>(picture.bytesPerLine()), background};
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The reason the last codec call gave contains `part`.
inline ::testing::AssertionResult ReasonContains(const std::string& part)
{
    if (std::string(CodecLastError()).find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << CodecLastError() << "\" lacks " << part;
}
