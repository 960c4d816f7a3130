#include "platform/Surface.h"

#include <QPainter>

namespace {
QImage BlankBitmap(int width, int height, QColor color)
{
    QImage bitmap(qMax(width, 0), qMax(height, 0), QImage::Format_RGB32);
    bitmap.fill(color);
    return bitmap;
}
} // namespace

Surface::Surface(int width, int height, QColor backColor, QObject* parent)
    : QObject(parent), bitmap_(BlankBitmap(width, height, backColor)), backColor_(backColor)
{
}

void Surface::SetSize(int width, int height)
{
    if (width == Width() && height == Height())
        return;
    QImage resized = BlankBitmap(width, height, backColor_);
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, bitmap_);
    painter.end();
    bitmap_ = std::move(resized);
    emit this->resized();
}

void Surface::SetBackColor(QColor color)
{
    backColor_ = color;
}

void Surface::SetPicture(std::optional<QImage> picture)
{
    if (picture && picture->format() != QImage::Format_RGB32)
        picture = picture->convertToFormat(QImage::Format_RGB32);
    picture_ = std::move(picture);
    if (picture_ && AutoSize && picture_->size() != bitmap_.size()) {
        // Sized to the picture, the bitmap shows nothing but the picture: take its pixels
        // as they are instead of filling a new bitmap and drawing them over it.
        bitmap_ = *picture_;
        emit resized();
        return;
    }
    Cls();
}

void Surface::Cls()
{
    // A picture that covers the whole bitmap hides the background. Its pixels are shared
    // until something draws on the bitmap, which then gets a copy of its own.
    if (picture_ && picture_->size() == bitmap_.size()) {
        bitmap_ = *picture_;
        return;
    }
    bitmap_.fill(backColor_);
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
