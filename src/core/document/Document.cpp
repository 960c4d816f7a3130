#include "core/document/Document.h"

#include "core/surfaces/SystemColours.h"

Document::Document(SettingsRecord settings)
    : Settings(std::move(settings))
    , PicImg{{73, 65, HolderBackColour}, {73, 65, HolderBackColour}, {73, 65, HolderBackColour}}
{
    for (Surface& holder : PicImg)
        holder.AutoSize = true;
}
