#include "app/Settings.h"
SettingsRecord Settings;
void LoadSettings() {}
void SaveSettings() {}
QString TrimAtNul(const QString& text) { return text.left(text.indexOf(QChar(0)) < 0 ? text.size() : text.indexOf(QChar(0))); }
