#include "core/document/Document.h"
#include "core/sources/SourceNames.h"
#include "windows/main/frmMain.h"
#include "windows/system/Drops.h"

void frmMain::FLD_OLEDragDrop(std::int16_t Index, const QMimeData* Data, std::int32_t Effect,
                              std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    Q_UNUSED(Effect);
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Q_UNUSED(X);
    Q_UNUSED(Y);
    const std::optional<QStringList> files = DroppedFiles(Data);
    if (!files || (Index != 0 && Index != 1))
        return;
    // Every accepted file opens in turn into the same slot; the last one that opens stays.
    for (const QString& path : *files) {
        if (!DropAccepted(path, document_.Settings.GifOption))
            continue;
        DroppedPath[Index] = path;
        OpenSourcePicture(DroppedPath[Index], Index);
    }
}

void frmMain::AREA_OLEDragDrop(std::int16_t Index, const QMimeData* Data, std::int32_t Effect,
                               std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    FLD_OLEDragDrop(Index, Data, Effect, Button, Shift, X, Y);
}
