// The whole PngSuite through DCReadPNG: every good file against its reference decode, every
// corrupt one refused.
#include "CodecTestSupport.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// A colour whose three channels differ, so a swapped channel shows. ColorRef 0x00BBGGRR.
constexpr std::uint32_t kBackground = 0x00C08040;

struct SuiteFile {
    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

void PrintTo(const SuiteFile& file, std::ostream* out)
{
    *out << file.name << " (" << file.width << "x" << file.height << ")";
}

std::string TestName(const ::testing::TestParamInfo<SuiteFile>& info)
{
    return info.param.name.substr(0, info.param.name.find('.'));
}

const std::filesystem::path kSuite = kTestData / "pngsuite";
const std::filesystem::path kReference = kTestData / "reference";

// The good files are those with a reference decode, listed with their size in the manifest.
std::vector<SuiteFile> GoodFiles()
{
    std::vector<SuiteFile> files;
    std::ifstream manifest(kReference / "MANIFEST.tsv");
    for (std::string line; std::getline(manifest, line);) {
        std::istringstream fields(line);
        std::string path;
        SuiteFile file;
        if (fields >> path >> file.width >> file.height && path.rfind("pngsuite/", 0) == 0) {
            file.name = path.substr(9);
            files.push_back(file);
        }
    }
    return files;
}

std::vector<SuiteFile> CorruptFiles()
{
    std::vector<SuiteFile> files;
    for (const auto& entry : std::filesystem::directory_iterator(kSuite)) {
        const std::string name = entry.path().filename().string();
        if (name[0] == 'x' && entry.path().extension() == ".png")
            files.push_back({name, 32, 32});
    }
    std::sort(files.begin(), files.end(),
              [](const SuiteFile& a, const SuiteFile& b) { return a.name < b.name; });
    return files;
}

// The reference's RGBA drawn over the background, rounded to nearest in plain arithmetic.
std::vector<std::uint32_t> ExpectedOverBackground(const std::vector<std::uint8_t>& rgba)
{
    const double background[3] = {kBackground & 0xFF, (kBackground >> 8) & 0xFF,
                                  (kBackground >> 16) & 0xFF};
    std::vector<std::uint32_t> pixels;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const double alpha = rgba[i + 3] / 255.0;
        std::uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c) {
            const double channel = alpha * rgba[i + c] + (1 - alpha) * background[c];
            rgb = rgb << 8 | static_cast<std::uint32_t>(std::lround(channel));
        }
        pixels.push_back(rgb);
    }
    return pixels;
}

bool SixteenBit(const std::string& name)
{
    return name.size() > 6 && name.compare(name.size() - 6, 2, "16") == 0;
}

class PngSuiteGood : public ::testing::TestWithParam<SuiteFile> {};
class PngSuiteCorrupt : public ::testing::TestWithParam<SuiteFile> {};

TEST(PngSuite, HasEveryFile)
{
    EXPECT_EQ(GoodFiles().size(), 161u);
    EXPECT_EQ(CorruptFiles().size(), 14u);
}

TEST_P(PngSuiteGood, MatchesReferenceOverBackground)
{
    const SuiteFile& file = GetParam();
    TestSurface surface(file.width, file.height, kBackground, 12);
    ASSERT_EQ(DCReadPNG((kSuite / file.name).c_str(), surface.dc()), 0) << CodecLastError();
    EXPECT_STREQ(CodecLastError(), "");
    EXPECT_TRUE(surface.LayoutIntact());

    const auto rgba = ReadBytes(kReference / "pngsuite" / (file.name + ".rgba"));
    // The reference rounds 16-bit samples to 8 bits, the codec keeps the high byte.
    const int tolerance = SixteenBit(file.name) ? 1 : 0;
    EXPECT_TRUE(PixelsMatch(surface, ExpectedOverBackground(rgba), tolerance, file.name));
}

TEST_P(PngSuiteCorrupt, IsRefusedWithAReason)
{
    const SuiteFile& file = GetParam();
    TestSurface surface(file.width, file.height, kBackground);
    EXPECT_NE(DCReadPNG((kSuite / file.name).c_str(), surface.dc()), 0);
    EXPECT_STRNE(CodecLastError(), "");
}

INSTANTIATE_TEST_SUITE_P(Files, PngSuiteGood, ::testing::ValuesIn(GoodFiles()), TestName);
INSTANTIATE_TEST_SUITE_P(Files, PngSuiteCorrupt, ::testing::ValuesIn(CorruptFiles()), TestName);

} // namespace
