// Large JPEG files are encoded in strips and joined with restart markers. TurboJPEG itself,
// asked for a restart marker every so many rows of blocks, is the reference: the joined file
// must hold exactly its bytes, and decode to the pixels of a file encoded in one piece.
#include "codec/Codec.h"
#include "codec/JpegStrips.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// An option TurboJPEG reads from the environment ("TJ_RESTART" "2": a restart marker every
// two rows of blocks), set while the object lives.
struct Option {
    Option(const char* name = nullptr, const std::string& value = {}) : name(name)
    {
        if (name != nullptr)
            setenv(name, value.c_str(), 1);
    }
    ~Option()
    {
        if (name != nullptr)
            unsetenv(name);
    }
    const char* name;
};

// What bare TurboJPEG makes of `rows` rows of `picture` from `top` with the option and flags.
Bytes BareJpeg(const QImage& picture, int top, int rows, int quality,
               std::pair<const char*, std::string> option = {}, int flags = 0)
{
    const Option set(option.first, option.second);
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int status = tjCompress2(encoder.get(), picture.constScanLine(top), picture.width(),
                                   int(picture.bytesPerLine()), rows, TJPF_BGRX, &jpeg, &size,
                                   TJSAMP_420, quality, flags);
    Bytes bytes = status == 0 ? Bytes(jpeg, jpeg + size) : Bytes();
    tjFree(jpeg);
    return bytes;
}

QImage Decoded(const Bytes& jpeg)
{
    return QImage::fromData(jpeg.data(), int(jpeg.size()), "JPEG").convertToFormat(QImage::Format_RGB32);
}

Bytes Joined(const JoinedJpeg& joined)
{
    Bytes file;
    for (const ByteRange& piece : joined.pieces) {
        const auto* bytes = static_cast<const std::uint8_t*>(piece.data);
        file.insert(file.end(), bytes, bytes + piece.size);
    }
    return file;
}

// Ten strips, so the restart markers' numbers wrap after the eighth; sides that are not
// whole blocks, so the last strip and every row end part-way through one.
TEST(JpegStrips, JoinedStripsAreTurboJpegsFileWithARestartEveryStrip)
{
    const QImage picture = NoisePicture(37, 150, 3);
    const JpegStrips plan{16, 10, 3};
    std::vector<Bytes> strips;
    for (int top = 0; top < picture.height(); top += plan.rows)
        strips.push_back(BareJpeg(picture, top, std::min(plan.rows, picture.height() - top), 100));
    std::vector<std::span<std::uint8_t>> files(strips.begin(), strips.end());

    const Bytes joined = Joined(JoinJpegStrips(files, picture.height(), plan));
    EXPECT_EQ(joined, BareJpeg(picture, 0, picture.height(), 100, {"TJ_RESTART", "1"}));
    EXPECT_TRUE(SamePixels(Decoded(BareJpeg(picture, 0, picture.height(), 100)), Decoded(joined)));
}

TEST(JpegStrips, RefusesStripsItCannotJoin)
{
    const QImage picture = NoisePicture(40, 32, 4);
    const Bytes baseline = BareJpeg(picture, 0, 16, 80);
    const std::pair<Bytes, const char*> rows[] = {
        {BareJpeg(picture, 16, 16, 80, {}, TJFLAG_PROGRESSIVE), "progressive"},
        {BareJpeg(picture, 16, 16, 80, {"TJ_RESTART", "1"}), "a restart interval of its own"},
        {BareJpeg(picture, 16, 16, 80, {"TJ_OPTIMIZE", "1"}), "Huffman tables of its own"},
        {BareJpeg(picture, 16, 16, 80, {"TJ_ARITHMETIC", "1"}), "arithmetic coding"},
        {Bytes(baseline.begin(), baseline.end() - 1), "cut before its end"},
        {[&] { Bytes b = baseline; b.back() = 0x00; return b; }(), "ending without EOI"},
        {Bytes(baseline.begin(), baseline.begin() + 300), "cut in its headers"},
        {Bytes{0xFF, 0xD8, 0xFF, 0xD9}, "no frame"}};
    for (const auto& [second, what] : rows) {
        SCOPED_TRACE(what);
        Bytes first = baseline, other = second;
        const std::span<std::uint8_t> files[] = {first, other};
        EXPECT_TRUE(JoinJpegStrips(files, 32, {16, 2, 3}).pieces.empty());
        EXPECT_EQ(first, baseline) << "the first strip was changed";
    }
}

// Strips are whole rows of 16 x 16 blocks with at most 65535 blocks each, cover the picture
// with the last strip not empty, and are made for camera pictures only.
TEST(JpegStrips, PlansWholeBlockRowsWithinTheRestartLimitForCameraPicturesOnly)
{
    const struct { int width, height; bool cut; } sizes[] = {
        {1, 1, false}, {640, 480, false}, {1920, 1080, false}, {6000, 4000, true},
        {9000, 6000, true}, {4000, 6000, true}, {65535, 100, true}, {65535, 16, false},
        {100, 65535, true}, {1001, 4200, true}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        const JpegStrips plan = PlanJpegStrips(size.width, size.height);
        EXPECT_EQ(plan.count > 1, size.cut);
        if (plan.count == 1) {
            EXPECT_EQ(plan.rows, size.height);
            continue;
        }
        EXPECT_EQ(plan.rows % 16, 0);
        EXPECT_EQ(plan.interval, plan.rows / 16 * ((size.width + 15) / 16));
        EXPECT_LE(plan.interval, 65535);
        EXPECT_LT((plan.count - 1) * plan.rows, size.height);
        EXPECT_GE(plan.count * plan.rows, size.height);
    }
}

// A camera-sized save goes through the strips, the threads that encode them and the file
// written from their pieces. Where TurboJPEG's options from the environment make strips
// that cannot be joined, the picture is encoded whole, as TurboJPEG alone would.
TEST(JpegStrips, SavedCameraPicturesAreTurboJpegsFileWithARestartEveryStrip)
{
    QImage picture = NoisePicture(1001, 2200, 5);
    const JpegStrips plan = PlanJpegStrips(picture.width(), picture.height());
    ASSERT_GT(plan.count, 1);
    CodecSurface dc{picture.bits(), picture.width(), picture.height(),
                    std::int32_t(picture.bytesPerLine()), 0};
    QTemporaryDir folder;
    const QByteArray path = folder.filePath("out.jpg").toUtf8();
    const std::pair<const char*, std::string> restartEveryStrip{"TJ_RESTART", std::to_string(plan.rows / 16)};
    const struct { std::pair<const char*, std::string> option, expected; } rows[] = {
        {{}, restartEveryStrip}, {{"TJ_OPTIMIZE", "1"}, {"TJ_OPTIMIZE", "1"}},
        {{"TJ_ARITHMETIC", "1"}, {"TJ_ARITHMETIC", "1"}}, {{"TJ_RESTART", "3"}, {"TJ_RESTART", "3"}}};
    for (const auto& [option, expected] : rows) {
        SCOPED_TRACE(option.first != nullptr ? option.first : "no option");
        {
            const Option set(option.first, option.second);
            ASSERT_EQ(DCSavetoJPEG(&dc, picture.width(), picture.height(), path, 50, 0), 0)
                << CodecLastFailure().english;
        }
        QFile file(QString::fromUtf8(path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        EXPECT_EQ(Bytes(saved.begin(), saved.end()), BareJpeg(picture, 0, picture.height(), 51, expected));
    }
}

} // namespace
