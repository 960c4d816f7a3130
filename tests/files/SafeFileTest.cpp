// The one safe way of saving a file, on real files in a temporary folder: links, permissions,
// stop signals, and every writer of the program under the faults a disk can have.
#include "core/settings/Settings.h"
#include "core/surfaces/Surface.h"
#include "core/view/ExportComposite.h"
#include "files/InFlightFiles.h"
#include "files/SafeFile.h"
#include "support/ChildProcess.h"
#include "support/FolderSnapshot.h"
#include "support/TestPictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {
namespace fs = std::filesystem;

class SafeFile : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return root.path().toStdString() + '/' + name; }
    QTemporaryDir root;
};

// Each row writes its own name: through a link the file it finally leads to gets it, which
// need not exist yet; what is no plain file is refused before anything is written.
TEST_F(SafeFile, ALinkLeadsToTheFileWrittenAndWhatIsNoPlainFileIsRefused)
{
    fs::create_directories(Path("pictures/album"));
    fs::create_directory(Path("links"));
    std::ofstream(Path("pictures/album/photo.png")) << "old";
    fs::create_symlink("../pictures/album/photo.png", Path("links/relative"));
    fs::create_symlink(Path("links/relative"), Path("links/chain"));
    fs::create_symlink("not yet.png", Path("pictures/dangling"));
    fs::create_symlink("loop b", Path("loop a"));
    fs::create_symlink("loop a", Path("loop b"));
    fs::create_symlink("pictures", Path("to folder"));
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const std::string before = FolderSnapshot(root.path().toStdString(), false);
    const std::pair<std::string, std::string> rows[] = {
        {"links/relative", "pictures/album/photo.png"}, {"links/chain", "pictures/album/photo.png"},
        {"pictures/dangling", "pictures/not yet.png"},
        {"loop a", "cannot follow the link " + Path("loop a") + ": " + std::strerror(ELOOP)},
        {"to folder", "cannot replace " + Path("pictures") + ": " + std::strerror(EISDIR)},
        {"pipe", "cannot replace " + Path("pipe") + ": not a plain file"}};
    for (const auto& [written, target] : rows) {
        const Result<void> result = WriteFileSafely(Path(written).c_str(), written.data(), written.size());
        EXPECT_EQ(result ? ReadBytes(Path(target)) : result.failure().english, result ? written : target);
    }
    fs::remove(Path("pictures/not yet.png"));
    EXPECT_EQ(FolderSnapshot(root.path().toStdString(), false), before);
}

TEST_F(SafeFile, TheReplacedFileKeepsItsPermissionsAndOwnerANewOneFollowsTheMask)
{
    std::ofstream(Path("shared.bmp")) << "old";
    // Only root may give a file away (and not to every number in a container).
    const bool givenAway = ::geteuid() == 0 && ::chown(Path("shared.bmp").c_str(), 4321, 8765) == 0;
    ASSERT_EQ(::chmod(Path("shared.bmp").c_str(), 06754), 0);
    const mode_t savedMask = ::umask(027);
    EXPECT_TRUE(WriteFileSafely(Path("shared.bmp").c_str(), "new", 3) && WriteFileSafely(Path("fresh.bmp").c_str(), "new", 3));
    ::umask(savedMask);
    struct stat shared {}, fresh {};
    ASSERT_TRUE(::stat(Path("shared.bmp").c_str(), &shared) == 0 && ::stat(Path("fresh.bmp").c_str(), &fresh) == 0);
    EXPECT_EQ(std::tuple(shared.st_mode & 07777, shared.st_uid, shared.st_gid, fresh.st_mode & 07777),
              std::tuple(06754u, givenAway ? 4321u : ::geteuid(), givenAway ? 8765u : ::getegid(), 0640u));
}

// Hang-up, interrupt, quit, terminate, CPU and file-size limits end the process without the
// file; a signal ignored (SIGHUP under nohup) or with a handler of the program's own is theirs.
TEST_F(SafeFile, AStopSignalRemovesTheFilesInFlightAndStillEndsTheProcess)
{
    // A save killed outright leaves nothing named; what a killed process of this host left
    // under a hidden name is taken by the next save into its folder.
    std::ofstream(Path("photo.png")) << "old";
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string stale = Path(".layerpix-" + std::string(host) + "-999999999-0.tmp");
    std::ofstream(stale) << "left";
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(1));
    Child killed([this] {
        const std::vector<char> large(std::size_t(400) << 20, 'x');
        return std::string(WriteFileSafely(Path("photo.png").c_str(), large.data(), large.size()) ? "saved" : "failed");
    });
    // Killed once the new file is open in the folder, named or not.
    const auto writing = [&] {
        std::error_code ignored;
        for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(killed.Pid()) + "/fd", ignored))
            if (fs::read_symlink(fd, ignored).string().starts_with(root.path().toStdString()))
                return true;
        return false;
    };
    for (int wait = 0; wait < 1000 && !writing(); ++wait)
        ::usleep(10'000);
    ::kill(killed.Pid(), SIGKILL);
    EXPECT_EQ(killed.Wait().signal, SIGKILL);
    EXPECT_EQ(Names(root.path().toStdString()), (std::vector<std::string>{fs::path(stale).filename(), "photo.png"}));
    ASSERT_TRUE(WriteFileSafely(Path("photo.png").c_str(), "new", 3));
    EXPECT_EQ(Names(root.path().toStdString()), std::vector<std::string>{"photo.png"});

    const std::pair<int, sighandler_t> rows[] = {{SIGHUP, SIG_DFL}, {SIGINT, SIG_DFL}, {SIGQUIT, SIG_DFL},
                                                 {SIGTERM, SIG_DFL}, {SIGXCPU, SIG_DFL}, {SIGXFSZ, SIG_DFL},
                                                 {SIGHUP, SIG_IGN}, {SIGINT, [](int) { ::_exit(42); }}};
    for (const auto& [signal, action] : rows) {
        std::ofstream(Path("in flight")) << "part";
        const ChildOutcome outcome = RunInChild([&, signal = signal, action = action] {
            std::signal(signal, action);
            const InFlightFile watched(Path("in flight").c_str());
            ::raise(signal);
            return std::string("went on");
        });
        const bool ends = action == SIG_DFL;
        EXPECT_EQ(std::tuple(outcome.signal, outcome.exitCode, fs::exists(Path("in flight"))),
                  std::tuple(ends ? signal : 0, ends ? -1 : action == SIG_IGN ? 0 : 42, !ends)) << strsignal(signal);
    }
}

enum Fault { FullDisk, FileSizeLimit, KilledByFileSizeLimit, ReadOnlyFolder, ReadOnlyFile, MissingFolder };
const char* const kFaults[] = {"FullDisk", "FileSizeLimit", "KilledByFileSizeLimit", "ReadOnlyFolder",
                               "ReadOnlyFile", "MissingFolder"};
const char* const kFiles[] = {"Layerpix.ini", "out.BMP", "out.JPG", "out.PNG"};

// Saves a file of some hundred kilobytes, so that a disk can fill up part-way through it, the
// way the program does: the settings by SaveSettings, pictures as the composite view saves them.
std::string Save(int writer, const std::string& path)
{
    Surface board(1, 1, Qt::white);
    board.hDC() = NoisePicture(700, 500, 3);
    const QString name = QString::fromStdString(path);
    const Result<void> saved = writer == 0 ? SaveSettings({.IniPath = name, .Front = QString(100 * 1024, u'p')})
                                           : WriteComposite(board, name, SaveFormat(writer - 1), SaveOptions{50, 0, 1});
    return saved ? "" : saved.failure().english;
}

class WriteFaults : public SafeFile, public testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(WriteFaults, FailsWithTheSystemsReasonAndLeavesEverythingAsItWas)
{
    const auto [writer, fault] = GetParam();
    fs::permissions(root.path().toStdString(), fs::perms(0755)); // for "nobody" of the permission cases
    const std::string folder = Path("f");
    fs::create_directory(folder);
    bool mounted = false;
    std::string saved = folder + '/' + kFiles[writer], named = saved;
    int error = EFBIG;
    const rlim_t sizeLimit = fault == FullDisk ? 16 * 1024 : 16;
    if (fault == FullDisk) {
        // A 256 KiB disk on the folder, in a mount namespace of this process alone, filled but for
        // 16 KiB. It takes root, which a container may refuse: the size limit stands in then.
        static const bool ownMounts = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0
                                      && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        mounted = ownMounts && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=262144") == 0;
    }
    std::ofstream(saved) << "old";
    if (mounted) {
        std::ofstream(folder + "/filler") << std::string(256 * 1024, 'f');
        fs::resize_file(folder + "/filler", fs::file_size(folder + "/filler") - sizeLimit);
        error = ENOSPC;
    } else if (fault == ReadOnlyFolder || fault == ReadOnlyFile) {
        fs::permissions(saved, fs::perms(fault == ReadOnlyFolder ? 0666 : 0444));
        fs::permissions(folder, fs::perms(fault == ReadOnlyFolder ? 0555 : 0777));
        named = fault == ReadOnlyFolder ? folder : saved;
        error = EACCES;
    } else if (fault == MissingFolder) {
        saved = folder + "/missing/" + kFiles[writer];
        named = folder + "/missing";
        error = ENOENT;
    }
    const std::string before = FolderSnapshot(root.path().toStdString());
    const ChildOutcome outcome = RunInChild([&] {
        if (error == EACCES && !ActAsAnOrdinaryUser())
            return kNoOrdinaryUser;
        if (error == EFBIG) { // a write past the limit fails with EFBIG, or ends the process by SIGXFSZ
            std::signal(SIGXFSZ, fault == KilledByFileSizeLimit ? SIG_DFL : SIG_IGN);
            const rlimit limit{sizeLimit, sizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        return Save(writer, saved);
    });
    if (outcome.output == kNoOrdinaryUser)
        GTEST_SKIP() << "root could not give up its privileges to test permissions";
    if (fault == KilledByFileSizeLimit)
        EXPECT_EQ(outcome.signal, SIGXFSZ);
    else
        EXPECT_NE(outcome.output.find(named + ": " + std::strerror(error)), std::string::npos) << outcome.output;
    EXPECT_EQ(FolderSnapshot(root.path().toStdString()), before);
    if (mounted)
        ::umount2(folder.c_str(), MNT_DETACH);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteFaults, testing::Combine(testing::Range(0, 4), testing::Range(0, 6)),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return QString(kFiles[std::get<0>(info.param)]).replace(u'.', u'_').toStdString() + '_'
                                    + kFaults[std::get<1>(info.param)];
                         });
} // namespace
