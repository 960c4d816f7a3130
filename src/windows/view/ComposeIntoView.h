#pragma once

class frmMain;
class frmView;

// Composes the main window's foreground (PicImg[0]) onto its background (PicImg[1]) at
// FrontX, FrontY with the transparent colour and rate of Settings, through the work
// surface PicImg[2], into the view's Board, and places the view's marker Shape1 over the
// foreground. The view is repainted but not shown.
void ComposeIntoView(frmMain& main, frmView& view);
