#include "app/Settings.h"

#include "platform/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray DefaultFile = "[Image]\nFront=\nBack=\n[Param]\nTransColor=0\nTransRate=100\n"
                               "[JPEG]\nRate=50\nPrgrs=0\n[PNG]\nRate=1\n";

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { Settings = SettingsRecord{}; }
    void TearDown() override { Settings = SettingsRecord{}; }

    QString IniFile() const { return program_.filePath("Layerpix.ini"); }

    void WriteIni(const QByteArray& bytes) const
    {
        QFile file(IniFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray ReadIni() const
    {
        QFile file(IniFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Start-up as the program does it: read, then write straight back.
    void LoadAndSave() const
    {
        LoadSettings(program_.path());
        SaveSettings();
    }

    QTemporaryDir program_;
};

TEST_F(SettingsTest, FirstStartTakesDefaultsAndCreatesTheFile)
{
    Settings.TransRate = 5; // left from an earlier load, must be replaced
    LoadAndSave();
    EXPECT_EQ(Settings.IniPath, IniFile());
    EXPECT_EQ(Settings.Front, QString());
    EXPECT_EQ(Settings.Back, QString());
    EXPECT_EQ(Settings.TransColor, 0);
    EXPECT_EQ(Settings.TransRate, 100);
    EXPECT_EQ(Settings.JpegRate, 50);
    EXPECT_EQ(Settings.JpegPrgrs, 0);
    EXPECT_EQ(Settings.PngRate, 1);
    EXPECT_EQ(Settings.GifOption, 1);
    EXPECT_EQ(ReadIni().toStdString(), DefaultFile.toStdString());
}

TEST_F(SettingsTest, HandWrittenGifOptionAndOtherLinesSurviveSaves)
{
    WriteIni("; kept\n[Options]\nGIF=0\n[image]\nFRONT = /a.png\nZoom=3\n");
    LoadAndSave();
    EXPECT_EQ(Settings.GifOption, 0);
    EXPECT_EQ(Settings.Front, "/a.png");
    Settings.GifOption = 1;
    Settings.Back = "/b.png";
    SaveSettings();
    EXPECT_EQ(ReadIni().toStdString(),
              "; kept\n[Options]\nGIF=0\n[image]\nFRONT=/a.png\nZoom=3\nBack=/b.png\n"
              "[Param]\nTransColor=0\nTransRate=100\n[JPEG]\nRate=50\nPrgrs=0\n[PNG]\nRate=1\n");
}

// Each value is read at start-up and written straight back in plain decimal form.
TEST_F(SettingsTest, ValuesAreConvertedAndWrittenBackPlain)
{
    struct Row {
        QByteArray file;
        const char* section;
        const char* key;
        const char* writtenBack;
    };
    const Row rows[] = {
        {"[JPEG]\nRate=75.5\n", "JPEG", "Rate", "76"},
        {"[JPEG]\nRate= +0050.0 \n", "JPEG", "Rate", "50"},
        {"[JPEG]\nPrgrs=-1\n", "JPEG", "Prgrs", "-1"},
        {"[PNG]\nRate=2\n", "PNG", "Rate", "2"},
        {"[Param]\nTransColor=16777215\n", "Param", "TransColor", "16777215"},
        {"[Param]\nTransColor=2147483647\n", "Param", "TransColor", "2147483647"},
        {"[Param]\nTransColor=-1\n", "Param", "TransColor", "-1"},
        {"[Param]\nTransRate=70\n", "Param", "TransRate", "70"},
        {"[Param]\nTransRate=0\n", "Param", "TransRate", "0"},
        {"[Param]\nTransRate=32767\n", "Param", "TransRate", "100"},
        {"[Param]\nTransRate=-32768\n", "Param", "TransRate", "0"},
        {"[Param]\nOther=1\n", "Param", "TransColor", "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        WriteIni(row.file);
        ASSERT_NO_THROW(LoadAndSave());
        EXPECT_EQ(GetProfileString(IniFile(), row.section, row.key), row.writtenBack);
    }
}

TEST_F(SettingsTest, MalformedNumberStopsTheLoadAndTouchesNothing)
{
    struct Row {
        QByteArray file;
        SettingsNumberError kind;
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"[Param]\nTransColor=\n", SettingsNumberError::TypeMismatch, "Param", "TransColor", ""},
        {"[Param]\nTransRate=32768\n", SettingsNumberError::Overflow, "Param", "TransRate",
         "32768"},
        {"[Param]\nTransColor=2147483648\n", SettingsNumberError::Overflow, "Param",
         "TransColor", "2147483648"},
        {"[JPEG]\nRate=high\n", SettingsNumberError::TypeMismatch, "JPEG", "Rate", "high"},
        {"[png]\r\nrate=1e3\r\n", SettingsNumberError::TypeMismatch, "PNG", "Rate", "1e3"},
        {"[Options]\nGIF=-40000\n", SettingsNumberError::Overflow, "Options", "GIF", "-40000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        WriteIni(row.file);
        Settings = SettingsRecord{};
        Settings.Front = "/in-memory.png";
        try {
            LoadSettings(program_.path());
            ADD_FAILURE() << "no SettingsError";
        } catch (const SettingsError& error) {
            EXPECT_EQ(error.kind(), row.kind);
            EXPECT_EQ(error.file(), IniFile());
            EXPECT_EQ(error.section(), row.section);
            EXPECT_EQ(error.key(), row.key);
            EXPECT_EQ(error.value(), row.value);
            EXPECT_TRUE(QString::fromStdString(error.what()).contains(row.key)) << error.what();
        }
        EXPECT_EQ(Settings.Front, "/in-memory.png");
        EXPECT_EQ(Settings.IniPath, QString());
        EXPECT_EQ(ReadIni(), row.file);
    }
}

TEST_F(SettingsTest, LongPathsRoundTrip)
{
    LoadSettings(program_.path());
    const QString longPath = "/" + QString::fromUtf8("\xe5\x86\x99\xe7\x9c\x9f/").repeated(60)
                           + QString(200, u'p') + ".png"; // over 600 bytes in UTF-8
    ASSERT_GT(longPath.toUtf8().size(), 600);
    Settings.Front = longPath;
    Settings.Back = longPath + "2";
    SaveSettings();
    Settings = SettingsRecord{};
    LoadSettings(program_.path());
    EXPECT_EQ(Settings.Front, longPath);
    EXPECT_EQ(Settings.Back, longPath + "2");
}

TEST_F(SettingsTest, FailedSaveKeepsTheValuesInMemory)
{
    Settings.IniPath = program_.filePath("missing/Layerpix.ini");
    Settings.TransColor = 255;
    Settings.Front = "/a.png";
    SaveSettings();
    EXPECT_EQ(Settings.TransColor, 255);
    EXPECT_EQ(Settings.Front, "/a.png");
    EXPECT_FALSE(QFile::exists(Settings.IniPath));
}

TEST_F(SettingsTest, IniStringWrappers)
{
    WriteIni("[Image]\nFront=/a.png\n");
    EXPECT_EQ(ReadIniString("Image", "Front", "dflt", IniFile()), "/a.png");
    EXPECT_EQ(ReadIniString("Image", "Back", QString::fromUtf8("ab\0cd", 5), IniFile()), "ab");
    EXPECT_EQ(WriteIniString("Image", "Back", "/b.png", IniFile()), 1);
    EXPECT_EQ(ReadIniString("Image", "Back", "", IniFile()), "/b.png");
    EXPECT_EQ(WriteIniString("Image", "Back", "/b.png", program_.filePath("no/x.ini")), 0);
}

TEST(SettingsText, AddBackslash)
{
    const std::pair<const char*, const char*> rows[] = {
        {"/", "/"},
        {"/opt/layerpix", "/opt/layerpix/"},
        {"/opt/layerpix/", "/opt/layerpix/"},
        {"", "/"},
    };
    for (const auto& [path, expected] : rows)
        EXPECT_EQ(AddBackslash(path), expected) << path;
}

TEST(SettingsText, TrimAtNul)
{
    const std::pair<QString, QString> rows[] = {
        {"abc", "abc"},
        {QString::fromUtf8("ab\0cd", 5), "ab"},
        {QString::fromUtf8("\0x", 2), ""},
        {"", ""},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(TrimAtNul(text), expected) << text.toStdString();
}

} // namespace
