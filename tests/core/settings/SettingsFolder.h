#pragma once
// A temporary program folder for the settings file, and a temporary user configuration folder
// for when the program folder cannot hold it.
#include "core/settings/Settings.h"
#include "support/FolderSnapshot.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

class SettingsFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid() && configHome.isValid());
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QString Ini() const { return program.filePath("Layerpix.ini"); }
    SettingsRecord Load() const { return LoadSettings(program.path()).value_or(SettingsRecord{}); }
    void WriteIni(const std::string& bytes) const { std::ofstream(Ini().toStdString(), std::ios::binary) << bytes; }
    std::string ReadIni() const { return ReadBytes(Ini().toStdString()); }

    QTemporaryDir program, configHome;
};
