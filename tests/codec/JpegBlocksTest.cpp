// Stamping a JPEG file by its blocks, decoded by Qt's reader, a decoder apart from the
// stamping's own: outside the touched MCUs the picture is the file's, inside it is the
// composite as a whole encode with the same tables gives it.
#include "codec/JpegBlocks.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <turbojpeg.h>

namespace {
std::span<const std::uint8_t> Span(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())};
}

QImage Decoded(const QByteArray& jpeg)
{
    return QImage::fromData(jpeg, "JPG").convertToFormat(QImage::Format_RGB32);
}

// TurboJPEG's file of `picture` at quality 90, with a restart marker every `restartRows`
// rows of MCUs when non-zero, with Huffman tables fitted to the picture when `fitted`.
QByteArray Encoded(const QImage& picture, int sampling, int flags, int restartRows = 0, bool fitted = false)
{
    if (restartRows > 0)
        setenv("TJ_RESTART", std::to_string(restartRows).c_str(), 1);
    if (fitted)
        setenv("TJ_OPTIMIZE", "1", 1);
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const bool made = tjCompress2(encoder.get(), picture.constBits(), picture.width(), int(picture.bytesPerLine()),
                                  picture.height(), TJPF_BGRX, &jpeg, &size, sampling, 90, flags) == 0;
    unsetenv("TJ_RESTART");
    unsetenv("TJ_OPTIMIZE");
    const QByteArray bytes(reinterpret_cast<const char*>(jpeg), made ? qsizetype(size) : 0);
    tjFree(jpeg);
    return bytes;
}

// The stamp: a disc of colour and the pixels around it inverted, so that every MCU it touches
// changes and the composite depends on the pixels below.
void Stamp(QImage& picture, const QRect& area)
{
    picture.invertPixels();
    QPainter painter(&picture);
    painter.setBrush(QColor(200, 30, 90));
    painter.drawEllipse(area.adjusted(2, 2, -2, -2));
}
} // namespace

TEST(JpegBlocks, KeepsEveryBlockOutsideTheTouchedMcusAndEncodesTheCompositeInside)
{
    QImage photo = GradientPicture(203, 142), noise = NoisePicture(300, 260, 5);
    QPainter(&photo).drawImage(40, 30, NoisePicture(120, 80, 3));
    // Tables fitted to noise lack the codes of the stamp's smooth blocks, and its file is
    // larger than the first buffer a writer takes.
    const struct { int sampling, flags, restartRows; QRect area; bool fitted = false; } rows[] = {
        {TJSAMP_444, 0, 0, {100, 10, 60, 40}, true},    // at the data's start
        {TJSAMP_420, 0, 3, {100, 90, 60, 40}, true},
        {TJSAMP_444, 0, 0, {150, 200, 60, 40}, true},   // below the data's middle
        {TJSAMP_420, 0, 3, {150, 200, 60, 40}, true},
        {TJSAMP_420, 0, 0, {50, 37, 61, 29}},
        {TJSAMP_420, 0, 2, {50, 37, 61, 29}},
        {TJSAMP_420, TJFLAG_PROGRESSIVE, 0, {50, 37, 61, 29}},
        {TJSAMP_444, 0, 0, {-20, 120, 70, 40}},          // across the bottom-left corner
        {TJSAMP_444, TJFLAG_PROGRESSIVE, 0, {180, 5, 60, 20}},   // across the right edge
        {TJSAMP_420, 0, 0, {190, 130, 30, 30}},         // the last, partial MCU
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.sampling << " " << row.flags << " " << row.restartRows << " "
                                        << row.area.x() << "," << row.area.y());
        const QImage& picture = row.fitted ? noise : photo;
        const QByteArray file = Encoded(picture, row.sampling, row.flags, row.restartRows, row.fitted);
        const QImage before = Decoded(file);
        const int mcu = row.sampling == TJSAMP_420 ? 16 : 8;
        const QRect clipped = row.area.intersected(before.rect());
        const QRect touched =
            QRect(QPoint(clipped.left() / mcu * mcu, clipped.top() / mcu * mcu),
                  QPoint((clipped.right() / mcu + 1) * mcu - 1, (clipped.bottom() / mcu + 1) * mcu - 1))
                .intersected(before.rect());
        QImage composite = before;
        const Result<StampedJpeg> stamped = StampJpegBlocks(
            Span(file), {row.area.x(), row.area.y(), row.area.width(), row.area.height()},
            [&](const PixelRect& region, CodecSurface& pixels) -> Result<void> {
                QImage given(pixels.bits, pixels.width, pixels.height, pixels.stride, QImage::Format_RGB32);
                const QRect at(int(region.x), int(region.y), int(region.width), int(region.height));
                EXPECT_EQ(at, touched);
                // The pixels below are the ones a whole decode gives.
                EXPECT_TRUE(SamePixels(before.copy(at), given));
                QImage part = before.copy(at);
                Stamp(part, row.area.translated(-at.topLeft()));
                QPainter(&composite).drawImage(at.topLeft(), part);
                QPainter(&given).drawImage(0, 0, part);
                return {};
            });
        ASSERT_TRUE(stamped);
        // Baseline data is spliced, or coded again with widened tables, not written again
        // through libjpeg's arrays; with the usual tables, most of its bytes are kept.
        EXPECT_EQ(!(row.flags & TJFLAG_PROGRESSIVE), !stamped->keptAfter.empty());
        EXPECT_EQ(!(row.flags & TJFLAG_PROGRESSIVE) && !row.fitted, !stamped->keptBefore.empty());
        QByteArray out;
        for (const ByteRange& piece : stamped->Pieces())
            out.append(static_cast<const char*>(piece.data), qsizetype(piece.size));
        const QImage after = Decoded(out);
        ASSERT_EQ(after.size(), before.size());
        // Subsampled chroma is upsampled from both sides of an MCU's edge: one pixel beyond
        // the touched MCUs mixes in their colour.
        const int blur = row.sampling == TJSAMP_420 ? 1 : 0;
        const QRect mixed = touched.adjusted(-blur, -blur, blur, blur);
        const QRect inner = touched.adjusted(blur, blur, -blur, -blur);
        const QImage reference = Decoded(Encoded(composite, row.sampling, row.flags | TJFLAG_ACCURATEDCT));
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x) {
                if (!mixed.contains(x, y)) {
                    ASSERT_EQ(before.pixel(x, y), after.pixel(x, y)) << x << "," << y;
                } else if (inner.contains(x, y)) {
                    ASSERT_EQ(reference.pixel(x, y), after.pixel(x, y)) << x << "," << y;
                }
            }
    }
}

TEST(JpegBlocks, RefusesWhatItCannotKeepExactly)
{
    const QByteArray colour = Encoded(NoisePicture(64, 48, 1), TJSAMP_420, 0);
    // A decoder takes a zero among the quantisers; an encoder would divide by it.
    QByteArray zeroQuantiser = colour;
    zeroQuantiser[zeroQuantiser.indexOf("\xFF\xDB") + 10] = 0;
    // 16-bit quantisers: libjpeg's encoder overflows from 8192 on.
    const QByteArray wide = TestDataFile("jpeg/hopper_16bit_qtables.jpg");
    QByteArray hugeQuantiser = wide;
    const qsizetype entry = hugeQuantiser.indexOf("\xFF\xDB") + 5 + 2 * 7;
    hugeQuantiser[entry] = char(0x20);
    hugeQuantiser[entry + 1] = 0;
    const struct { QByteArray file; PixelRect area; const char* why; } rows[] = {
        {TestDataFile("jpeg/hopper_gray.jpg"), {0, 0, 8, 8}, "YCbCr"},
        {TestDataFile("jpeg/pil_sample_cmyk.jpg"), {0, 0, 8, 8}, "YCbCr"},
        {EncodedPicture(GradientPicture(64, 48), "PNG"), {0, 0, 8, 8}, "JPEG"},
        {colour.left(colour.size() / 2), {0, 40, 8, 8}, "damaged"},
        {colour, {64, 0, 10, 10}, "outside"},
        {colour, {-10, 0, 10, 10}, "outside"},
        {zeroQuantiser, {0, 0, 8, 8}, "quantisation"},
        {hugeQuantiser, {0, 0, 8, 8}, "quantisation"},
    };
    for (const auto& row : rows) {
        bool composed = false;
        const auto stamped = StampJpegBlocks(Span(row.file), row.area, [&](const PixelRect&, CodecSurface&) {
            composed = true;
            return Result<void>();
        });
        ASSERT_FALSE(stamped) << row.why;
        EXPECT_NE(stamped.failure().english.find(row.why), std::string::npos) << stamped.failure().english;
        EXPECT_FALSE(composed);
    }
}
