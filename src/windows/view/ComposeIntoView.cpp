#include "windows/view/ComposeIntoView.h"

#include "core/document/FrontPosition.h"
#include "core/settings/Settings.h"
#include "core/compose/ComposeImages.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

namespace {
class ViewTarget final : public CompositeTarget {
public:
    explicit ViewTarget(frmView& view) : view_(view) {}

    Surface& Board() override { return view_.Board->surface(); }
    void PlaceMarker(std::int32_t left, std::int32_t top, std::int32_t width,
                     std::int32_t height) override
    {
        view_.Shape1->SetBounds(QRect(left, top, width, height));
    }
    void Refresh() override { view_.Board->surface().Refresh(); }

private:
    frmView& view_;
};
} // namespace

void ComposeIntoView(frmMain& main, frmView& view)
{
    ViewTarget target(view);
    const CompositionStores stores{main.PicImg[0]->surface(), main.PicImg[1]->surface(),
                                   &main.PicImg[2]->surface()};
    ComposeImages(Settings.TransColor, Settings.TransRate, FrontX, FrontY, stores, target);
}
