// Saving over files: the new file appears whole or not at all, and the old one survives
// every failure.
#include "CodecTestSupport.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const std::vector<std::uint8_t> kOldContent = {'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};

// Makes every file write past `bytes` fail with EFBIG, as a full disk would, until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

class SafeReplace : public ::testing::Test {
protected:
    SafeReplace() { FillNoise(picture, 5); }
    std::int16_t SavePng(const std::filesystem::path& path)
    {
        return DCSavetoPNG(picture.dc(), 64, 64, path.c_str(), 1);
    }
    ::testing::AssertionResult HoldsThePicture(const std::filesystem::path& path)
    {
        TestSurface decoded(64, 64);
        if (DCReadPNG(path.c_str(), decoded.dc()) != 0)
            return ::testing::AssertionFailure() << "unreadable: " << CodecLastError();
        return PixelsMatch(decoded, PixelsOf(picture, 64, 64), 0, path.filename());
    }

    TestSurface picture{64, 64};
    TempFolder folder;
};

TEST_F(SafeReplace, ReplacesAnExistingFileAndLeavesNothingElse)
{
    const auto target = folder / "合成画像.png";
    WriteBytes(target, kOldContent);
    ASSERT_EQ(SavePng(target), 0) << CodecLastError();
    EXPECT_TRUE(HoldsThePicture(target));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"合成画像.png"});
}

TEST_F(SafeReplace, KeepsTheReplacedFilesPermissions)
{
    const auto target = folder / "shared.png";
    WriteBytes(target, kOldContent);
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(SavePng(target), 0) << CodecLastError();
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A new file gets the permissions of any new file, not those of a private temporary.
    const mode_t savedMask = ::umask(022);
    const auto fresh = folder / "fresh.png";
    EXPECT_EQ(SavePng(fresh), 0) << CodecLastError();
    ::umask(savedMask);
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(SafeReplace, AFailedWriteKeepsTheOldFileByteForByte)
{
    const auto target = folder / "old.png";
    WriteBytes(target, kOldContent);
    {
        const FileSizeLimit nearlyFull(1000);
        EXPECT_NE(SavePng(target), 0);
    }
    EXPECT_TRUE(Contains(CodecLastError(), std::string("cannot write file: ") + std::strerror(EFBIG)));
    EXPECT_EQ(ReadBytes(target), kOldContent);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"old.png"});
}

TEST_F(SafeReplace, FailuresOfTheTargetPathAreReportedWithTheSystemsReason)
{
    std::filesystem::create_directory(folder / "album");
    WriteBytes(folder / "album" / "keep.png", kOldContent);
    const struct {
        std::filesystem::path target;
        const char* reason;
    } rows[] = {
        {folder / "album", "cannot replace file: Is a directory"},
        {folder / "no such folder" / "out.png", "cannot create file: No such file or directory"},
        {folder / "album" / "keep.png" / "out.png", "cannot create file: Not a directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target.string());
        EXPECT_NE(SavePng(row.target), 0);
        EXPECT_TRUE(Contains(CodecLastError(), row.reason));
        EXPECT_NE(DCSavetoJPEG(picture.dc(), 64, 64, row.target.c_str(), 50, 0), 0);
        EXPECT_TRUE(Contains(CodecLastError(), row.reason));
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"album"});
    EXPECT_EQ(ReadBytes(folder / "album" / "keep.png"), kOldContent);
}

} // namespace
