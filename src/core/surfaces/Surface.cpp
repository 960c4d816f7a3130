#include "core/surfaces/Surface.h"

#include "core/surfaces/BitmapMemory.h"

#include <QPainter>

namespace {
QImage BlankBitmap(int width, int height, QColor colour)
{
    QImage bitmap = NewBitmap(width, height);
    bitmap.fill(colour);
    return bitmap;
}
} // namespace

Surface::Surface(int width, int height, QColor backColour, QObject* parent)
    : QObject(parent), bitmap_(BlankBitmap(width, height, backColour)), backColour_(backColour)
{
}

void Surface::SetSize(int width, int height)
{
    if (width == Width() && height == Height())
        return;
    QImage resized = BlankBitmap(width, height, backColour_);
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, bitmap_);
    painter.end();
    bitmap_ = std::move(resized);
    emit this->resized();
}

QImage& Surface::BitmapToRedraw(int width, int height)
{
    const bool resizing = width != Width() || height != Height();
    if (!resizing && bitmap_.isDetached())
        return bitmap_;
    QImage fresh = NewBitmap(width, height);
    if (fresh.isNull()) {
        SetSize(width, height);
        return bitmap_;
    }
    TakeBitmap(std::move(fresh));
    return bitmap_;
}

void Surface::TakeBitmap(QImage bitmap)
{
    const bool resizing = bitmap.size() != bitmap_.size();
    bitmap_ = std::move(bitmap);
    if (resizing)
        emit resized();
}

void Surface::SetBackColour(QColor colour)
{
    backColour_ = colour;
}

void Surface::SetPicture(std::optional<QImage> picture)
{
    if (picture && picture->format() != QImage::Format_RGB32 &&
        picture->format() != QImage::Format_ARGB32)
        picture = picture->convertToFormat(QImage::Format_RGB32);
    picture_ = std::move(picture);
    if (picture_ && AutoSize && picture_->size() != bitmap_.size()) {
        // Taking the picture's size and clearing would cover every pixel with the
        // picture: the bitmap simply becomes the picture.
        bitmap_ = *picture_;
        emit resized();
        return;
    }
    Cls();
}

void Surface::Cls()
{
    // A picture as large as the bitmap covers all of it, so the bitmap shares the
    // picture's pixels until something draws on it (QImage copies them then).
    if (picture_ && picture_->size() == bitmap_.size()) {
        bitmap_ = *picture_;
        return;
    }
    // Only a picture with transparency drawn whole makes a bitmap with an alpha channel.
    if (bitmap_.format() != QImage::Format_RGB32)
        bitmap_ = NewBitmap(Width(), Height());
    bitmap_.fill(backColour_);
    if (!picture_)
        return;
    QPainter painter(&bitmap_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, *picture_);
}

void Surface::Refresh()
{
    emit refreshed();
}
