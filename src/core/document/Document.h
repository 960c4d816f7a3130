#pragma once
// What the user is working on: the settings (the key and the rate among them), the two source
// pictures, the foreground's place and the recolourings that can be taken back. The windows
// receive it by reference and work on it; nothing of it is process-wide.
#include "codec/Metadata.h"
#include "core/settings/Settings.h"
#include "core/surfaces/Surface.h"
#include "core/transparency/RecolourHistory.h"

#include <QDateTime>
#include <cstdint>

class Document {
public:
    explicit Document(SettingsRecord settings);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The key is Settings.TransColor, the foreground's weight Settings.TransRate.
    SettingsRecord Settings;
    // The holders of the source pictures, 0 the foreground and 1 the background, and 2 the
    // composition's work surface: surfaces without a border that take the size of a picture
    // assigned to them. A slot holds a picture when its holder has one assigned.
    Surface PicImg[3];
    // Where the foreground's top-left corner lies on the background, in pixels; any value,
    // negative or beyond the background. Loading a picture into either slot resets both to
    // 0; a drag in the composite view sets them.
    std::int32_t FrontX = 0;
    std::int32_t FrontY = 0;
    // What the background's file says of itself (camera, profile), read when it was loaded:
    // a composite saved as JPEG or PNG carries it.
    PictureMetadata BackMetadata;
    // The file the background was loaded from, which a save that keeps its JPEG blocks reads
    // again, and when it was last changed at the load: a file changed since (replaced by
    // another photo of the same size, say) is not read again. Empty while none is loaded.
    QString BackFile;
    QDateTime BackFileChanged;
    // The foreground's recolourings since it was loaded, for undo and redo.
    RecolourHistory Recolourings;
};
