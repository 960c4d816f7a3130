// The file and colour dialogs as their callers see them, answered by script.
#include "windows/dialogs/clsDialog.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QChar kNul(0);

class ClsDialog : public testing::Test {
protected:
    ScriptedDialogsScope dialogs;
    clsDialog dialog;
};

TEST_F(ClsDialog, TheOpenDialogGetsItsSettingsAndGivesFullPaths)
{
    QTemporaryDir pics;
    dialog.SelectTitle = QStringLiteral("背景の画像");
    dialog.SelectFlags = QStringLiteral(" 4100 ");
    dialog.DefaultFolder = pics.path();
    dialog.FilterPattern = QStringLiteral("画像ファイル") + kNul + QStringLiteral("*.bmp") + kNul;
    // One file comes back up to its NUL; a multiple selection is the folder, then the names.
    dialogs->openAnswers.push_back({true, QStringLiteral("/p/a.bmp") + kNul + kNul, 1});
    EXPECT_EQ(dialog.OpenFile(nullptr), QStringLiteral("/p/a.bmp"));
    dialogs->openAnswers.push_back({true, pics.path() + kNul + "x.bmp" + kNul + "y.png" + kNul + kNul, 1});
    EXPECT_EQ(dialog.OpenFile(nullptr), pics.filePath("x.bmp") + ' ' + pics.filePath("y.png"));
    ASSERT_EQ(dialogs->openRequests.size(), 2u);
    const FileDialogRequest& request = dialogs->openRequests[0];
    EXPECT_EQ(request.flags, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    EXPECT_EQ(request.title, dialog.SelectTitle);
    EXPECT_EQ(request.initialFolder, pics.path());
    EXPECT_EQ(request.filterPattern, dialog.FilterPattern);
}

TEST_F(ClsDialog, FlagsThatAreNoDecimalNumberOpenNoDialog)
{
    for (const char* notANumber : {"", "0x1004", "41OO", "1e3"}) {
        dialog.SelectFlags = QString::fromLatin1(notANumber);
        EXPECT_TRUE(dialog.OpenFile(nullptr).isEmpty()) << notANumber;
        EXPECT_TRUE(dialog.SaveFile(nullptr).isEmpty()) << notANumber;
    }
    EXPECT_TRUE(dialogs->openRequests.empty() && dialogs->saveRequests.empty());
}

// The save dialog's filter index is the chosen filter after a confirm and zero after a cancel;
// the colour dialog keeps the colour on cancel and starts with white custom colours.
TEST_F(ClsDialog, CancelAndConfirmOfTheSaveAndColourDialogs)
{
    dialog.SelectFlags = QStringLiteral("8196");
    dialogs->saveAnswers.push_back({true, QStringLiteral("/out/composite"), 3});
    EXPECT_EQ(dialog.SaveFile(nullptr), QStringLiteral("/out/composite"));
    EXPECT_EQ(dialog.FilterIndex, 3);
    EXPECT_EQ(dialogs->saveRequests.at(0).flags, 8196);
    dialogs->saveAnswers.push_back({false, QStringLiteral("/ignored"), 2});
    EXPECT_TRUE(dialog.SaveFile(nullptr).isEmpty());
    EXPECT_EQ(dialog.FilterIndex, 0);

    dialog.SelectColor = RGB(10, 20, 30);
    dialogs->colorAnswers.push_back({false, RGB(1, 1, 1)});
    EXPECT_FALSE(dialog.ColorCode(nullptr));
    EXPECT_EQ(dialog.SelectColor, RGB(10, 20, 30));
    dialogs->colorAnswers.push_back({true, RGB(200, 100, 50)});
    EXPECT_TRUE(dialog.ColorCode(nullptr));
    EXPECT_EQ(dialog.SelectColor, RGB(200, 100, 50));
    ASSERT_EQ(dialogs->colorRequests.size(), 2u);
    for (const ColorDialogRequest& request : dialogs->colorRequests) {
        EXPECT_EQ(request.color, RGB(10, 20, 30));
        for (ColorRef custom : request.customColors)
            EXPECT_EQ(custom, RGB(255, 255, 255));
    }
}
} // namespace
