#include "base/Failure.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace {
struct SystemReason {
    int error;
    const char* japanese;
};

// The errors a picture tool meets in practice; any other keeps the system's English words
// after its number.
constexpr SystemReason kJapaneseReasons[] = {
    {EACCES, "アクセスが許可されていません"},
    {EPERM, "操作が許可されていません"},
    {ENOENT, "ファイルまたはフォルダーがありません"},
    {ENOSPC, "ディスクに空きがありません"},
    {EDQUOT, "ディスクの使用量の上限を超えています"},
    {EROFS, "読み取り専用のファイルシステムです"},
    {EFBIG, "ファイルが大きすぎます"},
    {EISDIR, "フォルダーです"},
    {ENOTDIR, "フォルダーではありません"},
    {ENAMETOOLONG, "名前が長すぎます"},
    {ELOOP, "シンボリックリンクが多すぎます"},
    {EIO, "入出力エラーです"},
    {EEXIST, "すでにあります"},
    {EBUSY, "使用中です"},
    {ETXTBSY, "使用中です"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "開いているファイルが多すぎます"},
    {ENOMEM, "メモリが足りません"},
    {EINVAL, "引数が正しくありません"},
    {ENXIO, "デバイスがありません"},
};

struct StepWords {
    const char* english;
    const char* japaneseBefore;   // put before the path
    const char* japaneseAfter;    // put after it
};

StepWords WordsOf(FileStep step)
{
    switch (step) {
    case FileStep::Open: return {"cannot open", "", " を開けません"};
    case FileStep::Read: return {"cannot read", "", " を読めません"};
    case FileStep::Write: return {"cannot write", "", " に書き込めません"};
    case FileStep::Replace: return {"cannot replace", "", " を置き換えられません"};
    case FileStep::CreateIn: return {"cannot create a file in", "フォルダー ", " にファイルを作れません"};
    case FileStep::FollowLink: return {"cannot follow the link", "リンク ", " をたどれません"};
    case FileStep::MakeFolder: return {"cannot make the folder", "フォルダー ", " を作れません"};
    }
    return {"cannot use", "", " を使えません"};
}
} // namespace

std::string EnglishSystemReason(int error)
{
    return std::strerror(error);
}

std::string JapaneseSystemReason(int error)
{
    for (const SystemReason& reason : kJapaneseReasons)
        if (reason.error == error)
            return reason.japanese;
    return "システムエラー " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

Failure FileFailure(FileStep step, const std::string& path, int error)
{
    const StepWords words = WordsOf(step);
    const std::string english = path.empty() ? std::string(words.english) + " the file"
                                              : std::string(words.english) + ' ' + path;
    // The words after a path stand apart from it with a space; after "ファイル" they join it.
    const std::string after = words.japaneseAfter;
    const std::string japanese = path.empty() ? "ファイル" + after.substr(1)
                                              : words.japaneseBefore + path + after;
    return {english + ": " + EnglishSystemReason(error),
            japanese + ": " + JapaneseSystemReason(error)};
}

Failure ExistsAlready()
{
    return {"exists already", "既にあります"};
}

Failure NotAPlainFile()
{
    return {"not a plain file (a pipe, a device or a socket)",
            "通常のファイルではありません (パイプ、デバイス、ソケット)"};
}

Failure OutOfMemory()
{
    return {"out of memory", "メモリが足りません"};
}

std::string SizeWords(std::int64_t width, std::int64_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

Failure SizeBeyondLimit(std::int64_t width, std::int64_t height)
{
    return {"the picture's size " + SizeWords(width, height) + " is beyond the picture limit",
            "画像の大きさ " + SizeWords(width, height) + " は扱える上限を超えています"};
}

Failure TooShortForSize(std::int64_t width, std::int64_t height)
{
    return {"the file is too short for a picture of " + SizeWords(width, height) + " pixels",
            "ファイルが " + SizeWords(width, height) + " ピクセルの画像には短すぎます"};
}

Failure NoFileName()
{
    return {"no file name", "ファイル名がありません"};
}

Failure NotAPngFile()
{
    return {"not a PNG file", "PNG ファイルではありません"};
}
