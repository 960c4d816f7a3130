#pragma once
// The pictures the benchmarks work on, drawn from fixed seeds so every run sees the same
// pixels: camera-sized photographs and a foreground cut out on the key colour.
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

// The colour the foregrounds are cut out on, magenta, as a picture pixel and as a ColorRef.
inline constexpr QRgb kKeyPixel = 0xFFFF00FF;
inline constexpr std::uint32_t kKeyColour = 0x00FF00FF;
// The share of a cut-out foreground that is the key colour.
inline constexpr double kKeyShare = 0.63;

// A background and the foreground pasted on it, the foreground half as wide and half as
// high: the 24-megapixel pair is 6000 x 4000 and 3000 x 2000.
struct PairSize {
    const char* label; // "24 MP"
    const char* tag;   // "24mp", in file names
    QSize back;
    QSize front;
};
inline constexpr PairSize kPair6{"6 MP", "6mp", {3000, 2000}, {1500, 1000}};
inline constexpr PairSize kPair24{"24 MP", "24mp", {6000, 4000}, {3000, 2000}};
inline constexpr PairSize kPair54{"54 MP", "54mp", {9000, 6000}, {4500, 3000}};

// Smooth colour with fine noise, like a photograph: neither flat colour, which codecs
// make look fast, nor pure noise, which they make look slow.
QImage PhotoPicture(QSize size, std::uint32_t seed);
// A photographed object, an ellipse, on the key colour, which covers kKeyShare of it.
QImage CutOutPicture(QSize size, std::uint32_t seed);
// Photograph pixels with kKeyShare of them, chosen at random, set to the key colour: the
// hardest case for code that skips key pixels.
QImage ScatteredKeyPicture(QSize size, std::uint32_t seed);

// The folder of the benchmark pictures, from the argument --pictures=<folder>, which is
// taken out of the arguments. Without one it says how to call `program` and gives an
// empty text.
QString TakePicturesFolder(int& argc, char** argv, const char* program);

// Windows are drawn off screen unless QT_QPA_PLATFORM names a platform; call before the
// application object is made.
void DrawOffScreenUnlessAsked();

// The files of the benchmark pictures in `folder`, written by bench_pictures.
enum class PictureKind { Back, Front };
QString PicturePath(const QString& folder, const PairSize& pair, PictureKind kind,
                    const char* extension);
