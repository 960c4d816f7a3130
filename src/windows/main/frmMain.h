#pragma once
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

class Document;
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

    // Transparency controls.
    void AREA_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                        float Y);
    void AREA_MouseMove(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                        float Y);
    void DSP_Click(std::int16_t Index);
    void TMC_Timer();
    void Trans_Change();
    // Keys that no control of the window used: Ctrl+Z undoes a recolouring, Ctrl+Y and
    // Ctrl+Shift+Z redo it.
    void Form_KeyDown(int Key, Qt::KeyboardModifiers Modifiers);

    // The commands.
    void BTN_Click(std::int16_t Index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void WireEvents();
    void SetTabOrder();

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

    QPointer<frmView> View_;
    // The path of the file being opened by a drop, per slot.
    QString DroppedPath[2];
    // The foreground pixel the loupe was last drawn around, so it can be drawn again.
    std::optional<QPoint> loupePoint_;
};
