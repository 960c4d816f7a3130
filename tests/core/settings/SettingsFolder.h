#pragma once
// A program folder for the settings file, and a user configuration folder for when the program
// folder cannot hold it, both temporary.
#include "core/settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SettingsFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid());
        ASSERT_TRUE(configHome.isValid());
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QString Ini() const { return program.filePath("Layerpix.ini"); }
    // The settings of the program folder, which must load.
    SettingsRecord Load() const
    {
        Result<SettingsRecord> loaded = LoadSettings(program.path());
        EXPECT_TRUE(loaded) << loaded.failure().english;
        return loaded.value_or(SettingsRecord{});
    }
    void WriteIni(const QByteArray& bytes) const
    {
        QFile file(Ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadIni() const
    {
        QFile file(Ini());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir program, configHome;
};
