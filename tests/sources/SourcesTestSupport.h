#pragma once
// Pictures on disk and the state of a source slot, for the tests of picture loading and panes.
#include "support/QtPrinters.h"

#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>

class frmMain;

// A temporary folder of picture files. Both writers return the full path; `format` ("BMP",
// "PNG", "JPG"...) is used whatever the name's ending.
struct PictureFolder {
    QString Write(const QString& name, const QImage& picture, const char* format);
    QString WriteBytes(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir;
};

// Everything a load may change in one slot: picture (null when none), working image, pane,
// path field, then FrontX, FrontY and value, maximum, hidden of each scroll bar.
struct SlotSnapshot {
    std::array<QImage, 3> images;
    QString path;
    std::array<int, 8> numbers{};
};
SlotSnapshot Snapshot(frmMain& form, std::int16_t slot);
::testing::AssertionResult SlotUnchanged(const SlotSnapshot& before, frmMain& form, std::int16_t slot);

// A slot with something to lose: a 300 x 250 picture scrolled to (10, 20), the foreground
// at (5, 6) and one pixel of the working image painted, as a colour replacement does.
void PrepareUsedSlot(frmMain& form, std::int16_t slot, PictureFolder& folder);
