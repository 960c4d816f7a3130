#include "app/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points the user's configuration folder into a temporary folder for one test.
class SettingsLocationTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome_.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", savedConfigHome_); }

    QString UserConfigFolder() const
    {
        return configHome_.filePath(QCoreApplication::applicationName());
    }

    QTemporaryDir program_;
    QTemporaryDir configHome_;
    QByteArray savedConfigHome_;
};

TEST_F(SettingsLocationTest, WritableProgramFolderHoldsTheFile)
{
    EXPECT_EQ(SettingsFilePath(program_.path()), program_.filePath("Layerpix.ini"));
    EXPECT_EQ(SettingsFilePath(program_.path() + "/"), program_.filePath("Layerpix.ini"));

    QFile existing(program_.filePath("Layerpix.ini"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    EXPECT_EQ(SettingsFilePath(program_.path()), program_.filePath("Layerpix.ini"));
    EXPECT_FALSE(QFileInfo::exists(UserConfigFolder()));
}

TEST_F(SettingsLocationTest, UnusableProgramFolderFallsBackToTheUserConfigFolder)
{
    QFile plainFile(program_.filePath("plain"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    ASSERT_TRUE(QDir().mkpath(program_.filePath("taken/Layerpix.ini")));

    const QString rows[] = {
        program_.filePath("missing"),
        program_.filePath("plain/under-a-file"),
        program_.filePath("taken"), // its Layerpix.ini is a folder
    };
    for (const QString& folder : rows) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_EQ(SettingsFilePath(folder), UserConfigFolder() + "/Layerpix.ini");
        EXPECT_TRUE(QFileInfo(UserConfigFolder()).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(program_.filePath("missing")));
}

} // namespace
