// The one safe way of saving a file, on real files in a temporary folder: symbolic links,
// permissions and owners, what is not a plain file, and stop signals in the middle of a save.
#include "files/InFlightFiles.h"
#include "files/SafeFile.h"
#include "support/ChildProcess.h"
#include "support/FolderSnapshot.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class SafeFile : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return root.path().toStdString() + '/' + name; }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Listing() const { return FolderSnapshot(root.path().toStdString(), false); }

    QTemporaryDir root;
};

TEST_F(SafeFile, ALinkKeepsPointingAtItsTargetWhichGetsTheNewContents)
{
    fs::create_directories(Path("pictures/album"));
    fs::create_directories(Path("links"));
    Write("pictures/album/photo.png", "old");
    fs::create_symlink("../pictures/album/photo.png", Path("links/relative"));
    fs::create_symlink(Path("links/relative"), Path("links/chain"));
    fs::create_symlink("not yet.png", Path("pictures/dangling"));
    const std::string before = Listing();
    for (const auto& [written, target] : {std::pair{"links/relative", "pictures/album/photo.png"},
                                          {"links/chain", "pictures/album/photo.png"},
                                          {"pictures/dangling", "pictures/not yet.png"}}) {
        const std::string bytes = std::string("new contents through ") + written;
        EXPECT_TRUE(WriteFileSafely(Path(written).c_str(), bytes.data(), bytes.size())) << written;
        EXPECT_EQ(ReadBytes(Path(target)), bytes);
    }
    fs::remove(Path("pictures/not yet.png"));
    EXPECT_EQ(Listing(), before);
}

TEST_F(SafeFile, WhatCannotBeWrittenIntoIsRefusedBeforeAnythingIsWritten)
{
    fs::create_directory(Path("folder"));
    fs::create_symlink("loop b", Path("loop a"));
    fs::create_symlink("loop a", Path("loop b"));
    fs::create_symlink("folder", Path("to folder"));
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const std::string before = Listing();
    for (const auto& [written, reason] :
         {std::pair<std::string, std::string>{Path("loop a"), "cannot follow the link " + Path("loop a") + ": "
                                                                  + std::strerror(ELOOP)},
          {Path("to folder"), "cannot replace " + Path("folder") + ": " + std::strerror(EISDIR)},
          {Path("pipe"), "cannot replace " + Path("pipe") + ": not a plain file"},
          {"", "no file name"}}) {
        const Result<void> result = WriteFileSafely(written.c_str(), "x", 1);
        ASSERT_FALSE(result) << written;
        EXPECT_EQ(result.failure().english, reason);
    }
    EXPECT_EQ(Listing(), before);
}

TEST_F(SafeFile, TheReplacedFileKeepsItsPermissionsAndOwnerANewOneFollowsTheMask)
{
    Write("shared.bmp", "old");
    // Only root may give a file away (and not to every number in a container).
    const bool givenAway = ::geteuid() == 0 && ::chown(Path("shared.bmp").c_str(), 4321, 8765) == 0;
    ASSERT_EQ(::chmod(Path("shared.bmp").c_str(), 06754), 0);
    const mode_t savedMask = ::umask(027);
    EXPECT_TRUE(WriteFileSafely(Path("shared.bmp").c_str(), "new", 3));
    EXPECT_TRUE(WriteFileSafely(Path("fresh.bmp").c_str(), "new", 3));
    ::umask(savedMask);

    struct stat info {};
    ASSERT_EQ(::stat(Path("shared.bmp").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 06754u);
    EXPECT_EQ(info.st_uid, givenAway ? 4321 : ::geteuid());
    EXPECT_EQ(info.st_gid, givenAway ? 8765 : ::getegid());
    EXPECT_EQ(ReadBytes(Path("shared.bmp")), "new");
    ASSERT_EQ(::stat(Path("fresh.bmp").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(SafeFile, AStopSignalRemovesTheFilesInFlightAndStillEndsTheProcess)
{
    enum class Before { Default, Ignored, OwnHandler };
    // SIGHUP ignored as under nohup.
    std::vector<std::pair<int, Before>> rows{{SIGHUP, Before::Ignored}, {SIGINT, Before::OwnHandler}};
    for (const int signal : kStopSignals)
        rows.emplace_back(signal, Before::Default);
    for (const auto& [signal, before] : rows) {
        SCOPED_TRACE(testing::Message() << strsignal(signal) << " action " << int(before));
        const std::string name = "in flight " + std::to_string(signal);
        Write(name, "part");
        const ChildOutcome outcome = RunInChild([&, signal = signal, before = before] {
            if (before != Before::Default)
                std::signal(signal, before == Before::Ignored ? SIG_IGN : [](int) { ::_exit(42); });
            const InFlightFile watched(Path(name).c_str());
            ::raise(signal);
            return std::string("went on");
        });
        if (before == Before::Default) {
            EXPECT_EQ(outcome.signal, signal);
            EXPECT_FALSE(fs::exists(Path(name)));
        } else {
            EXPECT_EQ(outcome.exitCode, before == Before::Ignored ? 0 : 42);
            EXPECT_EQ(ReadBytes(Path(name)), "part");
        }
    }
}

} // namespace
