#pragma once
// Pictures on disk and the state of a source slot, for the tests of picture loading and
// the source panes.
#include "support/QtPrinters.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>

class frmMain;

// A picture whose every pixel tells its place: red x mod 256, green y mod 256, blue the
// 256-pixel block, so a shifted view is caught.
QImage PatternPicture(int width, int height);

// A temporary folder of picture files, removed with everything in it.
class PictureFolder {
public:
    PictureFolder();
    // Writes `picture` in `format` ("BMP", "PNG", "JPG", "GIF"...) whatever the name's
    // ending, and returns the full path.
    QString Write(const QString& name, const QImage& picture, const char* format);
    // Writes raw bytes and returns the full path.
    QString WriteBytes(const QString& name, const QByteArray& bytes);
    QString Path(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Everything a load may change in one slot.
struct SlotSnapshot {
    std::optional<QImage> picture;
    QImage working;
    QImage pane;
    QString path;
    std::int32_t frontX = 0, frontY = 0;
    int hValue = 0, hMax = 0, vValue = 0, vMax = 0;
    bool hHidden = false, vHidden = false;
};
SlotSnapshot Snapshot(frmMain& form, std::int16_t slot);
// Names the first thing that differs.
::testing::AssertionResult SlotUnchanged(const SlotSnapshot& before, frmMain& form,
                                         std::int16_t slot);

// Opens a 300 x 250 pattern picture into the slot, scrolls to (10, 20), moves the
// foreground to (5, 6) and paints one pixel of the working image, as a colour replacement
// does: a slot with something to lose.
void PrepareUsedSlot(frmMain& form, std::int16_t slot, PictureFolder& folder);
