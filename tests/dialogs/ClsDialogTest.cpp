// The file and colour dialogs as their callers see them, answered by script.
#include "dialogs/clsDialog.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QChar kNul(0);

TEST(ClsDialog, FlagsTitleFilterAndFolderReachTheOpenDialog)
{
    ScriptedDialogsScope dialogs;
    dialogs->openAnswers.push_back({true, QStringLiteral("/p/a.bmp"), 1});
    clsDialog dialog;
    dialog.SelectTitle = QStringLiteral("背景の画像");
    dialog.SelectFlags = QStringLiteral("4100");
    dialog.DefaultFolder = QStringLiteral("/p");
    dialog.FilterPattern = QStringLiteral("画像ファイル") + kNul + QStringLiteral("*.bmp") + kNul;
    EXPECT_EQ(dialog.OpenFile(nullptr), QStringLiteral("/p/a.bmp"));
    ASSERT_EQ(dialogs->openRequests.size(), 1u);
    const FileDialogRequest& request = dialogs->openRequests[0];
    EXPECT_EQ(request.flags, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    EXPECT_EQ(request.title, dialog.SelectTitle);
    EXPECT_EQ(request.initialFolder, QStringLiteral("/p"));
    EXPECT_EQ(request.filterPattern, dialog.FilterPattern);
}

TEST(ClsDialog, FlagsAreDecimalNumbersAndAnythingElseOpensNoDialog)
{
    const struct {
        const char* flags;
        std::int32_t value;
    } numbers[] = {{"4100", 4100}, {"8196", 8196}, {"0", 0}, {" 512 ", 512}};
    for (const auto& c : numbers) {
        ScriptedDialogsScope dialogs;
        dialogs->saveAnswers.push_back({false, QString(), 0});
        clsDialog dialog;
        dialog.SelectFlags = QString::fromLatin1(c.flags);
        dialog.SaveFile(nullptr);
        ASSERT_EQ(dialogs->saveRequests.size(), 1u) << c.flags;
        EXPECT_EQ(dialogs->saveRequests[0].flags, c.value) << c.flags;
    }
    for (const char* notANumber : {"", "0x1004", "41OO", "1e3"}) {
        ScriptedDialogsScope dialogs;
        clsDialog dialog;
        dialog.SelectFlags = QString::fromLatin1(notANumber);
        EXPECT_TRUE(dialog.OpenFile(nullptr).isEmpty()) << notANumber;
        EXPECT_TRUE(dialog.SaveFile(nullptr).isEmpty()) << notANumber;
        EXPECT_TRUE(dialogs->openRequests.empty()) << notANumber;
        EXPECT_TRUE(dialogs->saveRequests.empty()) << notANumber;
    }
}

TEST(ClsDialog, AMultipleSelectionGivesFullPathsSeparatedBySpaces)
{
    QTemporaryDir pics;
    for (const char* name : {"x.bmp", "y.png"}) {
        QFile file(pics.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ScriptedDialogsScope dialogs;
    dialogs->openAnswers.push_back({true,
                                    pics.path() + kNul + QStringLiteral("x.bmp") + kNul
                                        + QStringLiteral("y.png") + kNul + kNul,
                                    1});
    clsDialog dialog;
    dialog.SelectFlags = QString::number(OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);
    EXPECT_EQ(dialog.OpenFile(nullptr),
              pics.filePath(QStringLiteral("x.bmp")) + ' ' + pics.filePath(QStringLiteral("y.png")));
}

TEST(ClsDialog, ASingleFileComesBackUpToItsNul)
{
    ScriptedDialogsScope dialogs;
    dialogs->openAnswers.push_back({true, QStringLiteral("/p/a.bmp") + kNul + kNul, 1});
    clsDialog dialog;
    dialog.SelectFlags = QStringLiteral("4100");
    EXPECT_EQ(dialog.OpenFile(nullptr), QStringLiteral("/p/a.bmp"));
}

TEST(ClsDialog, TheFilterIndexIsZeroAfterACancelAndTheChosenFilterAfterAConfirm)
{
    ScriptedDialogsScope dialogs;
    clsDialog dialog;
    dialog.SelectFlags = QStringLiteral("8196");
    dialogs->saveAnswers.push_back({true, QStringLiteral("/out/composite"), 3});
    EXPECT_EQ(dialog.SaveFile(nullptr), QStringLiteral("/out/composite"));
    EXPECT_EQ(dialog.FilterIndex, 3);
    dialogs->saveAnswers.push_back({false, QStringLiteral("/ignored"), 2});
    EXPECT_TRUE(dialog.SaveFile(nullptr).isEmpty());
    EXPECT_EQ(dialog.FilterIndex, 0);
    // The open dialog leaves the filter index alone.
    dialog.FilterIndex = 2;
    dialogs->openAnswers.push_back({true, QStringLiteral("/p/a.bmp"), 1});
    dialog.OpenFile(nullptr);
    dialogs->openAnswers.push_back({false, QString(), 0});
    EXPECT_TRUE(dialog.OpenFile(nullptr).isEmpty());
    EXPECT_EQ(dialog.FilterIndex, 2);
}

TEST(ClsDialog, TheColourDialogKeepsTheColourOnCancelAndStartsWithWhiteCustomColours)
{
    ScriptedDialogsScope dialogs;
    clsDialog dialog;
    dialog.SelectColor = RGB(10, 20, 30);
    dialogs->colorAnswers.push_back({false, RGB(1, 1, 1)});
    EXPECT_FALSE(dialog.ColorCode(nullptr));
    EXPECT_EQ(dialog.SelectColor, RGB(10, 20, 30));
    dialogs->colorAnswers.push_back({true, RGB(200, 100, 50)});
    EXPECT_TRUE(dialog.ColorCode(nullptr));
    EXPECT_EQ(dialog.SelectColor, RGB(200, 100, 50));
    ASSERT_EQ(dialogs->colorRequests.size(), 2u);
    EXPECT_EQ(dialogs->colorRequests[0].color, RGB(10, 20, 30));
    EXPECT_EQ(dialogs->colorRequests[1].color, RGB(10, 20, 30));
    for (const ColorDialogRequest& request : dialogs->colorRequests)
        for (ColorRef custom : request.customColors)
            EXPECT_EQ(custom, RGB(255, 255, 255));
}
} // namespace
