#include "core/document/Document.h"
#include "core/sources/SourcePicture.h"
#include "core/transparency/Recolour.h"
#include "windows/main/frmMain.h"
#include "windows/options/frmTolerance.h"
#include "windows/system/ModalDialogs.h"

#include <QContextMenuEvent>
#include <QMenu>

// The choices beyond the fixed layout's controls live in one menu, so that none of them
// moves a control: a right-click on the window outside the two panes (a right-click on a
// pane picks a colour there), or the Menu key, opens it.
namespace {
struct Choice {
    const char* name;                          // the entry's object name
    const char* text;
    bool (*ticked)(const SettingsRecord&);     // a check box's state; none for a command
    void (frmMain::*click)();
    const char* toolTip = nullptr;
};

const Choice kChoices[] = {
    {"mnuAlpha", "前景の透明度を使う", AlphaChosen, &frmMain::mnuAlpha_Click},
    {"mnuTolerance", "キー色の許容範囲...", nullptr, &frmMain::mnuTolerance_Click},
    {"mnuLiveDrag", "ドラッグ中も画像を動かす", LiveDragChosen, &frmMain::mnuLiveDrag_Click},
    {"mnuKeepJpegBlocks", "JPEG のブロックを保つ (圧縮率は使いません)", KeepJpegBlocksChosen,
     &frmMain::mnuKeepJpegBlocks_Click,
     "JPEG の背景を JPEG で保存するとき、前景の外のブロックを元のファイルのまま残し、\n"
     "前景にかかるブロックだけを背景の量子化表で符号化し直します。\n"
     "保存オプションの JPEG 圧縮率とプログレッシブは使いません。"},
};
} // namespace

void frmMain::CreateChoices()
{
    Choices = new QMenu(this);
    Choices->setObjectName(QStringLiteral("Choices"));
    Choices->setToolTipsVisible(true);
    for (const Choice& choice : kChoices) {
        QAction* action = Choices->addAction(QString::fromUtf8(choice.text));
        action->setObjectName(QLatin1String(choice.name));
        action->setCheckable(choice.ticked != nullptr);
        if (choice.toolTip)
            action->setToolTip(QString::fromUtf8(choice.toolTip));
        connect(action, &QAction::triggered, this, [this, click = choice.click] { (this->*click)(); });
    }
    connect(Choices, &QMenu::aboutToShow, this, [this] {
        for (const Choice& choice : kChoices)
            if (choice.ticked)
                Choices->findChild<QAction*>(QLatin1String(choice.name))
                    ->setChecked(choice.ticked(document_.Settings));
    });
    setToolTip(QStringLiteral("右クリックでメニュー: 前景の透明度、キー色の許容範囲、ドラッグ中の表示、JPEG のブロック"));
}

void frmMain::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        for (const PictureBox* pane : AREA)
            if (pane->geometry().contains(event->pos()))
                return event->ignore();
    Choices->popup(event->globalPos());
}

// The window's tool tip names the menu where nothing else lies under the pointer.
bool frmMain::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip &&
        childAt(static_cast<QHelpEvent*>(event)->pos()) != nullptr) {
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

// The foreground in its pane shows the choice at once: it is decoded again from its file.
void frmMain::mnuAlpha_Click()
{
    document_.Settings.Alpha = AlphaChosen(document_.Settings) ? 0 : 1;
    ReopenForeground();
}

// The choice applies from the next save of a composite.
void frmMain::mnuKeepJpegBlocks_Click()
{
    document_.Settings.KeepJpegBlocks = KeepJpegBlocksChosen(document_.Settings) ? 0 : 1;
}

// The tolerance takes effect at the next composition, as the key and the rate do.
void frmMain::mnuTolerance_Click()
{
    frmTolerance dialog(this, document_.Settings);
    Dialogs().ShowModal(dialog);
}

// The composite view reads the choice at every move of a drag.
void frmMain::mnuLiveDrag_Click()
{
    document_.Settings.LiveDrag = LiveDragChosen(document_.Settings) ? 0 : 1;
}

// Decoded again as the alpha choice now says, the foreground keeps its place, its view and
// its clicks, done again on the new pixels. A file that no longer opens leaves the
// foreground as it is; one of another size by now opens as a new picture.
void frmMain::ReopenForeground()
{
    Surface& holder = document_.PicImg[0];
    if (!holder.HasPicture())
        return;
    LoadedPicture loaded = LoadSourcePicture(frontFile_, SourceBackground(0));
    if (!loaded || !*loaded)
        return;
    if ((*loaded)->size() != holder.Picture()->size())
        return OpenSourcePicture(frontFile_, 0);
    holder.SetPicture(std::move(**loaded));
    ReapplyRecolourings(holder, document_.Recolourings);
    ShowForeground();
}
