#pragma once
#include <QColor>
#include <QImage>
#include <QObject>
#include <optional>

// The drawing side of a picture surface: a persistent backing bitmap of exactly the
// surface's inner size (32 bits per pixel, QImage::Format_RGB32), a background colour
// and an optional assigned picture. A picture that keeps its transparency
// (QImage::Format_ARGB32, not premultiplied) is assigned as it is, and the bitmap that
// shows it whole has that format too. Everything drawn on the surface goes into the
// bitmap; the widget that shows it (PictureBox) repaints from it on Refresh(). A hidden
// surface keeps its bitmap, so other code can still copy from it.
class Surface : public QObject {
    Q_OBJECT
public:
    Surface(int width, int height, QColor backColour, QObject* parent = nullptr);

    // Inner size in pixels: the size of the backing bitmap.
    int Width() const { return bitmap_.width(); }
    int Height() const { return bitmap_.height(); }
    // Gives the bitmap a new size. What fits is kept; new area takes the background.
    void SetSize(int width, int height);
    // The bitmap, made width x height for a caller that draws every pixel next: a bitmap of
    // another size, or one whose pixels a copy (the clipboard's) still shares, gives way to
    // a new one whose pixels are not painted or copied first.
    QImage& BitmapToRedraw(int width, int height);
    // Takes `bitmap` (QImage::Format_RGB32) as the bitmap, its pixels as they are, for a
    // caller that draws every pixel next.
    void TakeBitmap(QImage bitmap);

    QColor BackColour() const { return backColour_; }
    void SetBackColour(QColor colour);

    // With auto-size, assigning a picture makes the surface take the picture's size.
    bool AutoSize = false;
    // Assigns a picture (or removes it with std::nullopt, keeping the size) and clears,
    // so the bitmap shows the picture over the background.
    void SetPicture(std::optional<QImage> picture);
    bool HasPicture() const { return picture_.has_value(); }
    const std::optional<QImage>& Picture() const { return picture_; }

    // Fills the bitmap with the background colour, then draws the assigned picture at (0, 0).
    // A picture of the bitmap's size is not copied: the bitmap shares its pixels until
    // something draws on the bitmap, which then gets pixels of its own.
    void Cls();
    // Asks the widget showing this surface to repaint from the bitmap.
    void Refresh();

    // The backing bitmap, the surface's "device context" for block copies.
    QImage& hDC() { return bitmap_; }
    const QImage& Image() const { return bitmap_; }

signals:
    void resized();
    void refreshed();

private:
    QImage bitmap_;
    QColor backColour_;
    std::optional<QImage> picture_;
};
