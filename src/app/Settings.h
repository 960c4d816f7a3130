#pragma once
#include <QString>
#include <cstdint>
#include <stdexcept>

struct SettingsRecord {
    QString IniPath;
    QString Front;
    QString Back;
    std::int32_t TransColor = 0;
    std::int32_t TransRate = 100;
    std::int16_t JpegRate = 50;
    std::int16_t JpegPrgrs = 0;
    std::int16_t PngRate = 1;
    std::int16_t GifOption = 1;
};
extern SettingsRecord Settings;

struct SettingsError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
void LoadSettings();
void SaveSettings();
QString TrimAtNul(const QString& text);
