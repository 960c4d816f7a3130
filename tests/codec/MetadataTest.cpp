// A photo's metadata read, made upright and written, as real readers see it: libexif reads the
// EXIF, Qt the colour profile. The photos are Pillow's test pictures.
#include "codec/Codec.h"
#include "codec/JpegMetadata.h"
#include "support/ExifTags.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QColorSpace>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {
const QByteArray kPhoto = TestDataFile("jpeg/pil_sample_rgb.jpg"), kTurned = TestDataFile("jpeg/hopper_orientation_6.jpg");
const QByteArray kExifMark("Exif\0\0", 6), kXmpMark("http://ns.adobe.com/xap/1.0/\0", 29);

std::span<const std::uint8_t> Span(const QByteArray& bytes) { return {reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())}; }
QByteArray Bytes(std::span<const std::uint8_t> bytes) { return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())); }
PictureMetadata MetadataOf(const QByteArray& file) { return ReadPictureMetadata(MemorySource(Span(file).data(), Span(file).size())); }

// What follows `mark` in the first JPEG segment that begins with it; empty when none does.
QByteArray Segment(const QByteArray& jpeg, const QByteArray& mark)
{
    const qsizetype at = jpeg.indexOf(mark);
    return at < 4 ? QByteArray() : jpeg.mid(at + mark.size(), qFromBigEndian<quint16>(jpeg.data() + at - 2) - 2 - mark.size());
}
QByteArray JpegSegment(char marker, const QByteArray& data)
{
    QByteArray segment("\xFF..", 4);
    segment[1] = marker;
    qToBigEndian(quint16(data.size() + 2), segment.data() + 2);
    return segment + data;
}
QByteArray PngChunk(const char* type, const QByteArray& data, quint32 crcChange = 0)
{
    QByteArray chunk = QByteArray(4, '\0') + type + data + QByteArray(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4), uInt(data.size() + 4))) ^ crcChange,
                 chunk.data() + chunk.size() - 4);
    return chunk;
}
QByteArray Deflated(const QByteArray& bytes) { return qCompress(bytes, 9).mid(4); }
// The PNG file without its metadata chunks.
QByteArray WithoutMetadata(QByteArray png)
{
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const qsizetype bytes = 12 + qFromBigEndian<quint32>(png.data() + at);
        if (QByteArrayList{"iCCP", "eXIf", "iTXt"}.contains(png.mid(at + 4, 4)))
            png.remove(at, bytes);
        else
            at += bytes;
    }
    return png;
}

// Orientation 1 in place of 6; the thumbnail and IFD1 gone, cut off with the bytes beyond
// everything else and unlinked (with those bytes put back, no reader finds them); every other
// tag as it was. The profile and the XMP byte for byte.
TEST(Metadata, APhotoKeepsEveryTagButItsOrientationIsOneAndItsThumbnailIsGone)
{
    for (const QByteArray& photo : {kPhoto, kTurned}) {
        const PictureMetadata metadata = MetadataOf(photo);
        std::map<std::string, QByteArray> expected = ExifTags(photo);
        const qsizetype thumbnail = expected["thumbnail"].size();
        std::erase_if(expected, [](const auto& tag) { return tag.first.starts_with("1 ") || tag.first == "thumbnail"; });
        expected.at("0 0112") = metadata.exif[0] == 'M' ? QByteArray("\0\1", 2) : QByteArray("\1\0", 2);
        const QByteArray tiff = Segment(photo, kExifMark);
        EXPECT_EQ(ExifTags(kExifMark + Bytes(metadata.exif)), expected);
        EXPECT_EQ(ExifTags(kExifMark + Bytes(metadata.exif) + tiff.mid(qsizetype(metadata.exif.size()))), expected);
        EXPECT_LE(qsizetype(metadata.exif.size()) + thumbnail, tiff.size());
        EXPECT_EQ(Bytes(metadata.icc), QImage::fromData(photo).colorSpace().iccProfile());
        EXPECT_EQ(QByteArray::fromStdString(metadata.xmp), Segment(photo, kXmpMark));
    }
    EXPECT_EQ(ExifTags(kPhoto).count("thumbnail") + ExifTags(kTurned).count("0 0112"), 2);
    EXPECT_FALSE(MetadataOf(kPhoto).icc.empty() || MetadataOf(kPhoto).xmp.empty());
}

// Every cut of a real EXIF, and forged offsets: only an IFD0 within the bytes is kept, and a
// kept EXIF is one a second pass leaves as it is. The sanitizers watch every read.
TEST(Metadata, ACutOrForgedExifIsReadWithinItsBytes)
{
    const QByteArray tiff = Segment(kPhoto, kExifMark);
    const auto forged = [&tiff](int at, const char* bytes) { return QByteArray(tiff).replace(at, 4, bytes, 4); };
    std::vector<std::pair<QByteArray, bool>> rows = {
        {forged(4, "\xFF\xFF\xFF\xF0"), false}, {forged(8, "\xFF\xFF\0\0"), false}, {forged(0, "MI\0*"), false},
        {forged(8 + 2 + 12 * 6 + 8, "\0\0\0\x08"), true},          // the Exif IFD is IFD0 itself
        {forged(208 + 2 + 12 * 5 + 8, "\xFF\xFF\xFF\xFF"), true},   // a thumbnail of 4 GB
        {forged(208 + 2 + 12 * 4 + 8, "\0\0\0\0"), true}};          // one over the header
    for (int size = 0; size < tiff.size(); ++size)
        rows.emplace_back(tiff.left(size), size >= 8 + 2 + 12 * 7 + 4);
    for (const auto& [bytes, kept] : rows) {
        const auto upright = UprightExif(Span(bytes));
        EXPECT_EQ(upright.has_value(), kept) << bytes.size();
        EXPECT_TRUE(!upright || (upright->size() <= std::size_t(bytes.size()) && UprightExif(*upright) == upright)) << bytes.size();
    }
    // IFD0 (Orientation 6, the Exif IFD at 72), IFD1 at 38 with its thumbnail "THMB" at 68, the
    // Exif IFD: the thumbnail lies among what stays, so its bytes are zeroed.
    const QByteArray inner("II*\0\x08\0\0\0" "\x02\0" "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0" "\x69\x87\x04\0\x01\0\0\0\x48\0\0\0"
                           "\x26\0\0\0" "\x02\0" "\x01\x02\x04\0\x01\0\0\0\x44\0\0\0" "\x02\x02\x04\0\x01\0\0\0\x04\0\0\0"
                           "\0\0\0\0" "THMB" "\x01\0" "\0\x90\x07\0\x04\0\0\0" "0230" "\0\0\0\0", 90);
    EXPECT_EQ(Bytes(UprightExif(Span(inner)).value_or(std::vector<std::uint8_t>{})),
              QByteArray(inner).replace(18, 1, "\1").replace(34, 4, QByteArray(4, '\0')).replace(68, 4, QByteArray(4, '\0')));
}

// A JPEG file is the one without metadata with its segments right after the JFIF APP0, also
// one joined from strips; a PNG file is the one without and its metadata chunks. Both read
// back as they were written, by the codec, by libexif and by Qt. An XMP beyond one JPEG
// segment goes into PNG files alone.
TEST(Metadata, WrittenFilesCarryItBesideTheSamePixels)
{
    PictureMetadata small = MetadataOf(kPhoto), large = small;
    large.icc.resize(70'000);   // two segments of a JPEG file
    qToBigEndian(quint32(large.icc.size()), large.icc.data());
    large.xmp.resize(70'000, ' ');
    large.iccName = "Pillow's";
    QImage noise = NoisePicture(61, 37, 3), camera = NoisePicture(1001, 2200, 5);
    for (auto [picture, metadata] : {std::pair{&noise, &small}, {&noise, &large}, {&camera, &small}}) {
        CodecSurface dc{picture->bits(), picture->width(), picture->height(), std::int32_t(picture->bytesPerLine()), 0};
        std::vector<std::uint8_t> plain, jpeg, plainPng, png;
        ASSERT_EQ(EncodeJpegBytes(&dc, dc.width, dc.height, 20, 0, plain) + EncodeJpegBytes(&dc, dc.width, dc.height, 20, 0, jpeg, *metadata)
                      + EncodePngBytes(&dc, dc.width, dc.height, 1, plainPng) + EncodePngBytes(&dc, dc.width, dc.height, 1, png, *metadata), 0);
        const QByteArray jpegFile = Bytes(jpeg), pngFile = Bytes(png);
        EXPECT_EQ(jpegFile.left(20) + jpegFile.mid(20 + jpegFile.size() - qsizetype(plain.size())), Bytes(plain));
        EXPECT_EQ(WithoutMetadata(pngFile), Bytes(plainPng));
        // A file whose blocks are kept has its metadata replaced, or taken out.
        std::vector<std::uint8_t> replaced = plain, stripped = jpeg;
        ReplaceJpegMetadata(replaced, *metadata);
        ReplaceJpegMetadata(stripped, {});
        EXPECT_TRUE(replaced == jpeg && stripped == plain);
        PictureMetadata inJpeg = *metadata, inPng = *metadata;
        inJpeg.iccName.clear();
        inJpeg.xmp = metadata->xmp.size() > 65504 ? "" : metadata->xmp;
        inPng.iccName = metadata->iccName.empty() ? "ICC profile" : metadata->iccName;
        EXPECT_TRUE(MetadataOf(jpegFile) == inJpeg && MetadataOf(pngFile) == inPng);
        const qsizetype eXIf = pngFile.indexOf("eXIf");
        EXPECT_EQ(ExifTags(kExifMark + pngFile.mid(eXIf + 4, qFromBigEndian<quint32>(pngFile.data() + eXIf - 4))),
                  ExifTags(jpegFile));
        for (const QByteArray& file : {jpegFile, pngFile})
            EXPECT_EQ(QImage::fromData(file).colorSpace().iccProfile(), Bytes(metadata->icc));
    }
}

// Metadata that is damaged, incomplete, oversized or of the wrong colours is left out alone;
// the picture still decodes.
TEST(Metadata, WhatCannotBeReadWholeIsLeftOutAlone)
{
    QImage picture = NoisePicture(9, 7, 1);
    CodecSurface dc{picture.bits(), 9, 7, 36, 0};
    std::vector<std::uint8_t> jpegBytes, pngBytes;
    ASSERT_EQ(EncodeJpegBytes(&dc, 9, 7, 20, 0, jpegBytes) + EncodePngBytes(&dc, 9, 7, 1, pngBytes), 0);
    const QByteArray jpeg = Bytes(jpegBytes), png = Bytes(pngBytes), exif = Segment(kPhoto, kExifMark);
    const QByteArray icc = Bytes(MetadataOf(kPhoto).icc), grey = QByteArray(icc).replace(16, 4, "GRAY");
    QByteArray huge = icc + QByteArray(4 << 20, '\0');   // its size as its header states, beyond the cap
    qToBigEndian(quint32(huge.size()), huge.data());
    const auto iccChunk = [&icc](int number, int count) {
        return JpegSegment('\xE2', QByteArray("ICC_PROFILE\0", 12) + char(number) + char(count) + (number == 1 ? icc.left(1000) : icc.mid(1000)));
    };
    const QByteArray iccp = PngChunk("iCCP", QByteArray("p\0\0", 3) + Deflated(icc)), eXIf = PngChunk("eXIf", exif);
    const QByteArray xmp = "XML:com.adobe.xmp" + QByteArray("\0\1\0\0\0", 5) + Deflated("<x:xmpmeta/>");
    const std::pair<QByteArray, const char*> rows[] = {
        {jpeg.left(20) + JpegSegment('\xE1', kExifMark + exif) + iccChunk(1, 2) + jpeg.mid(20), "exif"},
        {jpeg.left(20) + iccChunk(1, 2) + iccChunk(1, 2) + iccChunk(2, 2) + jpeg.mid(20), ""},
        {jpeg.left(20) + iccChunk(2, 2) + iccChunk(1, 3) + jpeg.mid(20), ""},
        {jpeg.left(20) + iccChunk(2, 2) + iccChunk(1, 2) + JpegSegment('\xE1', kXmpMark + "<x/>") + jpeg.mid(20), "icc xmp"},
        {png.left(33) + PngChunk("iCCP", QByteArray("p\0\0", 3) + Deflated(grey)) + eXIf + png.mid(33), "exif"},
        {png.left(33) + PngChunk("iCCP", QByteArray("p\0\0", 3) + Deflated(huge)) + eXIf + png.mid(33), "exif"},
        {png.left(33) + PngChunk("iCCP", QByteArray("p\0\0", 3) + Deflated(icc), 1) + eXIf + png.mid(33), "exif"},
        {png.left(33) + iccp + PngChunk("eXIf", exif + QByteArray(kMaxExifBytes, '\0')) + png.mid(33), "icc"},
        {png.left(33) + PngChunk("iTXt", xmp.left(18) + QByteArray(4, '\0') + QByteArray(kMaxXmpBytes + 1, ' ')) + eXIf + png.mid(33), "exif"},
        {png.left(33) + iccp + png.mid(33).chopped(12) + PngChunk("iTXt", xmp) + eXIf + png.right(12), "exif icc xmp"}};
    for (const auto& [file, kept] : rows) {
        const PictureMetadata metadata = MetadataOf(file);
        const QString found = QStringList{metadata.exif.empty() ? "" : "exif", metadata.icc.empty() ? "" : "icc",
                                          metadata.xmp.empty() ? "" : "xmp"}.join(' ').simplified();
        EXPECT_EQ(found.toStdString(), kept);
        QImage decoded(9, 7, QImage::Format_RGB32);
        CodecSurface into{decoded.bits(), 9, 7, 36, 0};
        EXPECT_TRUE(file.startsWith("\xFF") || DecodePngBytes(Span(file).data(), Span(file).size(), &into) == 0) << kept;
    }
}
} // namespace
