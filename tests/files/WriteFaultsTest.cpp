// Every writer of the program (the settings file, BMP, JPEG, PNG), with small and large files,
// under the faults a disk can have: the save fails with the system's reason naming the file or
// folder, the old file stays byte for byte and no temporary file is left, also when the save
// is killed by the file-size limit. Saving through a symbolic link replaces its target.
#include "core/settings/Settings.h"
#include "core/settings/ProfileFile.h"
#include "core/surfaces/Surface.h"
#include "support/ChildProcess.h"
#include "support/FolderSnapshot.h"
#include "support/TestPictures.h"
#include "core/view/ExportComposite.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sched.h>
#include <sys/mount.h>

namespace {

namespace fs = std::filesystem;

enum class Writer { Settings, Bmp, Jpeg, Png };
enum class Fault { None, ThroughALink, FullDisk, DiskFillsUpMidFile, FileSizeLimit, KilledByFileSizeLimit,
                   ReadOnlyFolder, ReadOnlyFile, NameIsAFolder, MissingFolder };
const char* const kWriterNames[] = {"Settings", "Bmp", "Jpeg", "Png"};
const char* const kFileNames[] = {"Layerpix.ini", "out.BMP", "out.JPG", "out.PNG"};
const char* const kFaultNames[] = {"None", "ThroughALink", "FullDisk", "DiskFillsUpMidFile", "FileSizeLimit",
                                   "KilledByFileSizeLimit", "ReadOnlyFolder", "ReadOnlyFile", "NameIsAFolder",
                                   "MissingFolder"};

struct Case {
    Writer writer;
    Fault fault;
    bool large;
};

QString Front(bool large)
{
    return large ? u'/' + QString(100 * 1024, u'p') : QStringLiteral("/写真/前.png");
}

QImage Picture(bool large)
{
    return large ? NoisePicture(700, 500, 3) : NoisePicture(20, 20, 3);
}

// Saves a small or large file as `path` the way the program does (the settings file by
// SaveSettings, pictures as the composite view saves them): the failure's reason, or "".
std::string Save(Writer writer, const std::string& path, bool large)
{
    if (writer == Writer::Settings) {
        SettingsRecord settings;
        settings.IniPath = QString::fromStdString(path);
        settings.Front = Front(large);
        settings.TransColor = 255;
        const Result<void> saved = SaveSettings(settings);
        return saved ? "" : saved.failure().english;
    }
    Surface board(1, 1, Qt::white);
    board.hDC() = Picture(large);
    const SaveFormat format = writer == Writer::Bmp ? SaveFormat::Bmp
                              : writer == Writer::Jpeg ? SaveFormat::Jpeg : SaveFormat::Png;
    const Result<void> saved = WriteComposite(board, QString::fromStdString(path), format, SaveOptions{50, 0, 1});
    return saved ? "" : saved.failure().english;
}

class WriteFaults : public testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        fs::permissions(Root(), fs::perms(0755)); // for "nobody" of the permission cases
        fs::create_directory(Folder());
    }
    void TearDown() override
    {
        if (mounted)
            ::umount2(Folder().c_str(), MNT_DETACH);
        std::error_code ignored;
        fs::permissions(Folder(), fs::perms(0700), fs::perm_options::add, ignored);
    }

    std::string Root() const { return root.path().toStdString(); }
    std::string Folder() const { return Root() + "/f"; }
    static void WriteOld(const std::string& path) { std::ofstream(path, std::ios::binary) << "old"; }

    // A 256 KiB file system on the folder, in a mount namespace only this test process sees. It
    // takes root, and a container may refuse even root: false then.
    bool MountSmallDisk()
    {
        static const bool ownMounts = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0
                                      && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        mounted = ownMounts && ::mount("tmpfs", Folder().c_str(), "tmpfs", 0, "size=262144") == 0;
        return mounted;
    }
    // Fills the small disk with one file, then gives back `freeBytes`.
    void FillDisk(off_t freeBytes) const
    {
        const int fd = ::open((Folder() + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string block(4096, 'f');
        off_t size = 0;
        for (ssize_t written; (written = ::write(fd, block.data(), block.size())) > 0;)
            size += written;
        ::ftruncate(fd, size > freeBytes ? size - freeBytes : 0);
        ::close(fd);
    }

    QTemporaryDir root;
    bool mounted = false;
};

TEST_P(WriteFaults, FailsWithTheSystemsReasonAndLeavesEverythingAsItWas)
{
    const auto [writer, fault, large] = GetParam();
    const std::string name = kFileNames[int(writer)];
    std::string saved = Folder() + '/' + name, named = saved;
    int error = 0;
    std::optional<rlim_t> sizeLimit;
    bool asOrdinaryUser = false;
    switch (fault) {
    case Fault::None:
        WriteOld(saved);
        break;
    case Fault::ThroughALink:
        fs::create_directory(Folder() + "/real");
        WriteOld(Folder() + "/real/" + name);
        fs::permissions(Folder() + "/real/" + name, fs::perms(0640));
        fs::create_symlink("real/" + name, saved);
        break;
    case Fault::FullDisk:
    case Fault::DiskFillsUpMidFile: {
        const off_t freeBytes = fault == Fault::FullDisk ? 0 : 16 * 1024;
        const bool smallDisk = MountSmallDisk();
        WriteOld(saved);
        if (smallDisk)
            FillDisk(freeBytes);
        else
            sizeLimit = freeBytes;
        error = smallDisk ? ENOSPC : EFBIG;
        break;
    }
    case Fault::FileSizeLimit:
    case Fault::KilledByFileSizeLimit:
        WriteOld(saved);
        sizeLimit = 16;
        error = EFBIG;
        break;
    case Fault::ReadOnlyFolder:
    case Fault::ReadOnlyFile: {
        const bool folder = fault == Fault::ReadOnlyFolder;
        WriteOld(saved);
        fs::permissions(saved, fs::perms(folder ? 0666 : 0444));
        fs::permissions(Folder(), fs::perms(folder ? 0555 : 0777));
        named = folder ? Folder() : saved;
        error = EACCES;
        asOrdinaryUser = true;
        break;
    }
    case Fault::NameIsAFolder:
        fs::create_directory(saved);
        WriteOld(saved + "/inside");
        error = EISDIR;
        break;
    case Fault::MissingFolder:
        saved = Folder() + "/missing/" + name;
        named = Folder() + "/missing";
        error = ENOENT;
        break;
    }
    // A save that succeeds changes the contents of the file alone: no name, link or permission.
    const bool succeeds = error == 0;
    const std::string before = FolderSnapshot(Root(), !succeeds);

    const ChildOutcome outcome = RunInChild([&] {
        if (asOrdinaryUser && !ActAsAnOrdinaryUser())
            return kNoOrdinaryUser;
        if (sizeLimit)
            LimitFileSize(*sizeLimit, fault != Fault::KilledByFileSizeLimit);
        return Save(writer, saved, large);
    });
    if (outcome.output == kNoOrdinaryUser)
        GTEST_SKIP() << "root could not give up its privileges to test permissions";

    if (succeeds) {
        EXPECT_EQ(outcome.output, "");
        if (writer == Writer::Settings)
            EXPECT_EQ(ReadIniString(ReadProfileFile(QString::fromStdString(saved)).value_or(""),
                                    "Image", "Front", "missing"), Front(large));
        else
            EXPECT_EQ(QImage(QString::fromStdString(saved)).size(), Picture(large).size());
    } else if (fault == Fault::KilledByFileSizeLimit) {
        EXPECT_EQ(outcome.signal, SIGXFSZ);
    } else {
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_NE(outcome.output.find(named + ": " + std::strerror(error)), std::string::npos) << outcome.output;
    }
    EXPECT_EQ(FolderSnapshot(Root(), !succeeds), before);
}

// A large file wherever the size matters; a disk filling up mid-file needs one.
std::vector<Case> EveryCase()
{
    std::vector<Case> cases;
    for (const Writer writer : {Writer::Settings, Writer::Bmp, Writer::Jpeg, Writer::Png})
        for (int f = 0; f <= int(Fault::MissingFolder); ++f) {
            const Fault fault = Fault(f);
            if (fault != Fault::DiskFillsUpMidFile)
                cases.push_back({writer, fault, false});
            if (fault != Fault::ThroughALink && fault <= Fault::KilledByFileSizeLimit)
                cases.push_back({writer, fault, true});
        }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteFaults, testing::ValuesIn(EveryCase()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(kWriterNames[int(info.param.writer)]) + '_'
                                    + kFaultNames[int(info.param.fault)] + (info.param.large ? "_Large" : "_Small");
                         });

} // namespace
