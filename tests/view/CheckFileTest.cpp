#include "support/ScriptedDialogs.h"
#include "view/CheckFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(CheckFile, TellsNamelessMissingEmptyAndFilledApart)
{
    ScriptedDialogsScope dialogs;
    QTemporaryDir dir;
    WriteFile(dir.filePath("empty"), {});
    WriteFile(dir.filePath("one"), "x");
    EXPECT_EQ(CheckFile(QString()), FileStatusNoName);
    EXPECT_EQ(CheckFile(QStringLiteral("   ")), FileStatusNoName);
    EXPECT_EQ(CheckFile(dir.filePath("missing")), FileStatusMissing);
    EXPECT_EQ(CheckFile(dir.filePath("no folder/missing")), FileStatusMissing);
    EXPECT_EQ(CheckFile(dir.filePath("empty")), FileStatusEmpty);
    EXPECT_EQ(CheckFile(dir.filePath("one")), FileStatusExists);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST(CheckFile, AnUnexpectedErrorShowsTheSystemMessageAndReturns)
{
    ScriptedDialogsScope dialogs;
    dialogs->messageAnswers.push_back(IDOK);
    QTemporaryDir dir;
    WriteFile(dir.filePath("plain"), "x");
    // A file used as a folder: the system says "not a directory", not "missing".
    EXPECT_EQ(CheckFile(dir.filePath("plain/inner")), FileStatusUnknown);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("システムエラー"));
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("20:Not a directory"));
    EXPECT_EQ(dialogs->messages[0].type, MB_OK | MB_ICONSTOP);
}
} // namespace
