// Every writer of the program (the settings file, BMP, JPEG, PNG), with small and large files,
// under the faults a disk can have: the save fails with the system's reason naming the file or
// folder, the old file stays byte for byte and no temporary file is left, also when the save
// is killed by the file-size limit. Saving through a symbolic link replaces its target.
#include "app/Settings.h"
#include "platform/ProfileFile.h"
#include "platform/Surface.h"
#include "support/ChildProcess.h"
#include "support/TestPictures.h"
#include "view/ExportComposite.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

enum class Writer { Settings, Bmp, Jpeg, Png };
enum class Fault {
    None,
    FullDisk,
    DiskFillsUpMidFile,
    FileSizeLimit,
    KilledByFileSizeLimit,
    ReadOnlyFolder,
    ReadOnlyFile,
    NameIsAFolder,
    MissingFolder,
};

struct Case {
    Writer writer;
    Fault fault;
    bool large;
};

const char* const kWriterNames[] = {"Settings", "Bmp", "Jpeg", "Png"};
const char* const kFaultNames[] = {"None",          "FullDisk",       "DiskFillsUpMidFile",
                                   "FileSizeLimit", "KilledByFileSizeLimit", "ReadOnlyFolder",
                                   "ReadOnlyFile",  "NameIsAFolder",  "MissingFolder"};

std::string CaseName(const Case& c)
{
    return std::string(kWriterNames[int(c.writer)]) + '_' + kFaultNames[int(c.fault)]
           + (c.large ? "_Large" : "_Small");
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << CaseName(c);
}

const char* FileName(Writer writer)
{
    const char* const names[] = {"Layerpix.ini", "out.BMP", "out.JPG", "out.PNG"};
    return names[int(writer)];
}

// Saves a small or a large file of the writer's kind as `path` the way the program does
// (the settings file by SaveSettings, pictures as the composite view saves them): the
// reason of a failure, or an empty text.
std::string Save(Writer writer, const std::string& path, bool large)
{
    if (writer == Writer::Settings) {
        Settings = SettingsRecord{};
        Settings.IniPath = QString::fromStdString(path);
        Settings.Front =
            large ? u'/' + QString(100 * 1024, u'p') : QStringLiteral("/写真/前.png");
        Settings.TransColor = 255;
        return SaveSettings().toStdString();
    }
    Surface board(1, 1, Qt::white);
    board.hDC() = large ? NoisePicture(700, 500, 3) : NoisePicture(20, 20, 3);
    const SaveFormat format = writer == Writer::Bmp    ? SaveFormat::Bmp
                              : writer == Writer::Jpeg ? SaveFormat::Jpeg
                                                       : SaveFormat::Png;
    return WriteComposite(board, QString::fromStdString(path), format, SaveOptions{50, 0, 1})
        .toStdString();
}

// A file system of its own, `bytes` large, on `folder`, mounted in a mount namespace that only
// this test process sees, so nothing of it outlives the process. It takes root, and a
// container may refuse even root: Mounted() then says false.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, std::size_t bytes) : folder_(folder)
    {
        static const bool ownMounts = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0
                                      && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE,
                                                 nullptr) == 0;
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ownMounts
                   && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }

    // Fills the disk with one file, then gives back `freeBytes`.
    void Fill(off_t freeBytes) const
    {
        const std::string filler = folder_ + "/filler";
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string block(4096, 'f');
        off_t size = 0;
        for (ssize_t written; (written = ::write(fd, block.data(), block.size())) > 0;)
            size += written;
        ::ftruncate(fd, size > freeBytes ? size - freeBytes : 0);
        ::close(fd);
    }

private:
    std::string folder_;
    bool mounted_ = false;
};

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A temporary folder holding the folder `f` in which the files are saved.
// Short contents as they are, long ones by their size and a hash.
std::string Summary(const std::string& bytes)
{
    if (bytes.size() <= 64)
        return bytes;
    return std::to_string(bytes.size()) + " bytes, hash "
           + std::to_string(std::hash<std::string>()(bytes));
}

class SaveFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        // The user "nobody" of the permission cases must reach the folders.
        fs::permissions(Root(), fs::perms(0755));
        fs::create_directory(Folder());
    }
    void TearDown() override
    {
        disk.reset();
        std::error_code ignored;
        fs::permissions(Folder(), fs::perms(0700), fs::perm_options::add, ignored);
    }

    std::string Root() const { return root.path().toStdString(); }
    std::string Folder() const { return Root() + "/f"; }
    void WriteOld(const std::string& path) const { std::ofstream(path, std::ios::binary) << kOld; }

    // Every name under the temporary folder, sorted, with its permissions and contents.
    std::string Snapshot() const
    {
        std::vector<std::string> lines;
        for (const auto& entry : fs::recursive_directory_iterator(Root())) {
            lines.push_back(entry.path().string() + ' '
                            + std::to_string(int(entry.symlink_status().permissions())));
            if (entry.is_regular_file())
                lines.back() += " = " + Summary(ReadFile(entry.path()));
        }
        std::sort(lines.begin(), lines.end());
        std::string snapshot;
        for (const std::string& line : lines)
            snapshot += line + '\n';
        return snapshot;
    }

    const std::string kOld = "old contents";
    QTemporaryDir root;
    std::optional<SmallDisk> disk;
};

class WriteFaults : public SaveFolder, public testing::WithParamInterface<Case> {};

// What one case saves, and how it must fail.
struct Setting {
    std::string target;                  // the name saved
    std::string named;                   // the file or folder the reason names
    int error = 0;                       // its system error
    std::optional<rlim_t> fileSizeLimit; // applied to the saving process
    bool asOrdinaryUser = false;
};

TEST_P(WriteFaults, FailsWithTheSystemsReasonAndLeavesEverythingAsItWas)
{
    const Case c = GetParam();
    Setting s;
    s.target = Folder() + '/' + FileName(c.writer);
    s.named = s.target;
    switch (c.fault) {
    case Fault::None:
        WriteOld(s.target);
        break;
    case Fault::FullDisk:
    case Fault::DiskFillsUpMidFile: {
        const off_t freeBytes = c.fault == Fault::FullDisk ? 0 : 16 * 1024;
        disk.emplace(Folder(), 256 * 1024);
        if (disk->Mounted()) {
            WriteOld(s.target);
            disk->Fill(freeBytes);
            s.error = ENOSPC;
        } else {
            WriteOld(s.target);
            s.fileSizeLimit = freeBytes;
            s.error = EFBIG;
        }
        break;
    }
    case Fault::FileSizeLimit:
    case Fault::KilledByFileSizeLimit:
        WriteOld(s.target);
        s.fileSizeLimit = 16;
        s.error = EFBIG;
        break;
    case Fault::ReadOnlyFolder:
        WriteOld(s.target);
        fs::permissions(s.target, fs::perms(0666));
        fs::permissions(Folder(), fs::perms(0555));
        s.named = Folder();
        s.error = EACCES;
        s.asOrdinaryUser = true;
        break;
    case Fault::ReadOnlyFile:
        WriteOld(s.target);
        fs::permissions(s.target, fs::perms(0444));
        fs::permissions(Folder(), fs::perms(0777));
        s.error = EACCES;
        s.asOrdinaryUser = true;
        break;
    case Fault::NameIsAFolder:
        fs::create_directory(s.target);
        WriteOld(s.target + "/inside");
        s.error = EISDIR;
        break;
    case Fault::MissingFolder:
        s.target = Folder() + "/missing/" + FileName(c.writer);
        s.named = Folder() + "/missing";
        s.error = ENOENT;
        break;
    }
    const std::string before = Snapshot();

    const ChildOutcome outcome = RunInChild([&] {
        if (s.asOrdinaryUser && !ActAsAnOrdinaryUser())
            return kNoOrdinaryUser;
        if (s.fileSizeLimit)
            LimitFileSize(*s.fileSizeLimit, c.fault != Fault::KilledByFileSizeLimit);
        return Save(c.writer, s.target, c.large);
    });
    if (outcome.output == kNoOrdinaryUser)
        GTEST_SKIP() << "root could not give up its privileges to test permissions";

    if (c.fault == Fault::None) {
        EXPECT_EQ(outcome.output, "");
        EXPECT_NE(ReadFile(s.target), kOld);
        EXPECT_EQ(Names(Folder()), std::vector<std::string>{FileName(c.writer)});
        return;
    }
    if (c.fault == Fault::KilledByFileSizeLimit) {
        EXPECT_EQ(outcome.signal, SIGXFSZ);
    } else {
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_NE(outcome.output.find(s.named + ": " + std::strerror(s.error)), std::string::npos)
            << outcome.output;
    }
    EXPECT_EQ(Snapshot(), before);
}

std::vector<Case> EveryCase()
{
    std::vector<Case> cases;
    for (const Writer writer : {Writer::Settings, Writer::Bmp, Writer::Jpeg, Writer::Png}) {
        for (int fault = 0; fault <= int(Fault::MissingFolder); ++fault) {
            const Fault f = Fault(fault);
            const bool bySize = f == Fault::None || f == Fault::FullDisk
                                || f == Fault::FileSizeLimit || f == Fault::KilledByFileSizeLimit;
            if (f != Fault::DiskFillsUpMidFile)
                cases.push_back({writer, f, false});
            if (bySize || f == Fault::DiskFillsUpMidFile)
                cases.push_back({writer, f, true});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteFaults, testing::ValuesIn(EveryCase()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return CaseName(info.param);
                         });

class ThroughALink : public SaveFolder, public testing::WithParamInterface<Writer> {};

TEST_P(ThroughALink, TheTargetGetsTheNewFileAndKeepsItsLinkAndPermissions)
{
    const Writer writer = GetParam();
    fs::create_directory(Folder() + "/real");
    const std::string target = Folder() + "/real/" + FileName(writer);
    WriteOld(target);
    fs::permissions(target, fs::perms(0640));
    const std::string link = Folder() + "/link";
    fs::create_symlink(std::string("real/") + FileName(writer), link);

    EXPECT_EQ(Save(writer, link, false), "");
    EXPECT_EQ(fs::read_symlink(link), std::string("real/") + FileName(writer));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    if (writer == Writer::Settings) {
        EXPECT_EQ(GetProfileString(QString::fromStdString(target), "Image", "Front"),
                  QStringLiteral("/写真/前.png"));
    } else {
        const QImage decoded(QString::fromStdString(target));
        EXPECT_EQ(decoded.size(), QSize(20, 20));
    }
    EXPECT_EQ(Names(Folder() + "/real"), std::vector<std::string>{FileName(writer)});
    EXPECT_EQ(Names(Folder()), (std::vector<std::string>{"link", "real"}));
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, ThroughALink,
                         testing::Values(Writer::Settings, Writer::Bmp, Writer::Jpeg, Writer::Png),
                         [](const testing::TestParamInfo<Writer>& info) {
                             return std::string(kWriterNames[int(info.param)]);
                         });

} // namespace
