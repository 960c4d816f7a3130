#pragma once
#include "core/sources/PictureLoader.h"
#include "core/surfaces/BitmapMemory.h"
#include "windows/controls/Label.h"
#include "windows/controls/PictureBox.h"
#include "windows/controls/PushButton.h"
#include "windows/controls/ScrollBar.h"
#include "windows/controls/Shape.h"
#include "windows/controls/TextField.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

class Document;
class QMenu;
class QMimeData;
class frmView;

// The main window "Layerpix": two source panes with their path fields, browse buttons and
// scroll bars, the magnifier, the transparent-colour swatch, the rate spinner and the
// three commands, working on `document`, which must outlive the window. The layout is
// fixed and built here; the handlers, in the files frmMain_*.cpp beside it, are named after
// the subsystem whose work they hand to the core. Each control's object name is its fixed
// name with its index, "FLD(0)", so tests and tools can find it.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(Document& document);
    ~frmMain() override;

    // The composite view, while it is loaded.
    frmView* View() const;

    // Start-up and shutdown.
    void Form_Load();
    void InitMainWindow();
    void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode);

    // Picture sources.
    void OpenSourcePicture(const QString& path, std::int16_t slot);
    std::int16_t LoadSourceImage(const QString& path, std::int16_t slot);
    void RenderPane(std::int16_t slot);
    void FLD_KeyDown(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift);
    void FLD_OLEDragDrop(std::int16_t Index, const QMimeData* Data, std::int32_t Effect,
                         std::int16_t Button, std::int16_t Shift, float X, float Y);
    void AREA_OLEDragDrop(std::int16_t Index, const QMimeData* Data, std::int32_t Effect,
                          std::int16_t Button, std::int16_t Shift, float X, float Y);
    void DBTN_Click(std::int16_t Index);
    void HSCR_Change(std::int16_t Index);
    void VSCR_Change(std::int16_t Index);
    // Lays the window out for its present size: the panes share what it has grown by, the
    // controls beside and below them keep their places relative to the panes' edges.
    void Form_Resize();

    // Transparency controls.
    void AREA_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                        float Y);
    void AREA_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                        float Y);
    void DSP_Click(std::int16_t Index);
    void TMC_Timer();
    void Trans_Change();
    // Takes the last recolouring back, or does the last one taken back again (Ctrl+Z,
    // Ctrl+Y or Ctrl+Shift+Z anywhere in the window).
    void StepRecolouring(bool redo);

    // The commands.
    void BTN_Click(std::int16_t Index);

    // The choices menu, opened by a right-click on the window outside the panes or by the
    // Menu key: whether the foreground keeps its transparency, the key's tolerance, whether
    // the picture itself moves while it is dragged in the composite view, and whether a JPEG
    // background keeps its blocks when the composite is saved as JPEG.
    void mnuAlpha_Click();
    void mnuTolerance_Click();
    void mnuLiveDrag_Click();
    void mnuKeepJpegBlocks_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void CreateChoices();
    // How a slot's picture is decoded: drawn over its holder's background, or keeping its
    // transparency.
    PictureBackground SourceBackground(std::int16_t slot) const;
    // Decodes the foreground again after the alpha choice changed.
    void ReopenForeground();
    // Shows the foreground's working bitmap anew in its pane and the loupe.
    void ShowForeground();
    void WireEvents();
    void WireUndo();
    void SetTabOrder();
    void FitScrollBars(std::int16_t slot, std::int16_t x, std::int16_t y);

    // The window's size as it is built, and its controls' places at that size, which
    // Form_Resize moves on from.
    static constexpr QSize kStartSize{322, 479};
    // A control that follows the window's growth: its place at the start size, and which of
    // its edges move with the added width, with the upper pane's share of the added height,
    // and with the lower pane's share.
    struct Anchored {
        QWidget* control;
        QRect start;
        QMargins byWidth, byUpper, byLower;   // 1 where that edge moves, 0 where it stays
    };
    std::vector<Anchored> anchored_;
    void AnchorControls();

    Document& document_;

    // Controls, with their indexes: 0 the foreground, 1 the background.
    ScrollBar* Trans;
    QTimer* TMC;
    PictureBox* Loupe;
    Shape* Shape1;
    PictureBox* AREA[2];
    ScrollBar* HSCR[2];
    ScrollBar* VSCR[2];
    TextField* FLD[2];
    PushButton* DBTN[2];
    PushButton* BTN[3];
    Label* DSP[2];
    Label* LBL[4];

    QMenu* Choices;

    QPointer<frmView> View_;
    // The file the foreground was opened from, to decode it again when a choice asks.
    QString frontFile_;
    // The composite view's board memory, got ready once a background is open and no view is
    // loaded, and kept from a view that closes.
    PreparedBitmap boardMemory_;
    // The path of the file being opened by a drop, per slot.
    QString DroppedPath[2];
    // The foreground pixel the loupe was last drawn around, so it can be drawn again.
    std::optional<QPoint> loupePoint_;
    // Whether a picture was opened into the slot, so its scroll bars follow the pane.
    bool opened_[2] = {false, false};
};
