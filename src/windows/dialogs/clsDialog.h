#pragma once
#include "base/ColorRef.h"

#include <QString>
#include <cstdint>

class QWidget;

// The file-open, file-save and colour dialogs. A caller makes a fresh object for each
// use, sets its properties, calls one operation and reads the result, so nothing carries
// over from one dialog to the next: no last folder, no last filter, no custom colours.
class clsDialog {
public:
    QString SelectTitle;
    // The file dialogs' option flags (OFN_...) as decimal text.
    QString SelectFlags;
    QString DefaultFolder;
    // The filter selected when the user confirmed a save, counted from 1; 0 after a cancel.
    std::int32_t FilterIndex = 0;
    // Filters as description NUL pattern NUL ..., patterns separated by ';'.
    QString FilterPattern;
    ColorRef SelectColor = 0;

    // The chosen file's full path; for a multiple selection the full paths separated by
    // single spaces; empty after a cancel, or when SelectFlags is not a decimal number
    // (then no dialog is shown).
    QString OpenFile(QWidget* owner);
    // The full name the user chose, as typed (no extension added), empty after a cancel.
    // Sets FilterIndex.
    QString SaveFile(QWidget* owner);
    // True when the user confirmed a colour, which is then in SelectColor. The dialog opens
    // at SelectColor, with sixteen white custom colours every time.
    bool ColorCode(QWidget* owner);
};
