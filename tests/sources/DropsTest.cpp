// What a drop's data yields as a file list.
#include "platform/Drops.h"

#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
TEST(Drops, LocalFilesComeInTheDropsOrderAndDataWithoutThemIsNoFileList)
{
    QMimeData files, text, web, picture, empty;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/p/c.bmp")), QUrl(QStringLiteral("https://example.org/x.png")),
                   QUrl::fromLocalFile(QStringLiteral("/p/a b/é.png")), QUrl::fromLocalFile(QStringLiteral("/p/b.jpg"))});
    EXPECT_EQ(DroppedFiles(&files).value_or(QStringList()),
              QStringList({QStringLiteral("/p/c.bmp"), QStringLiteral("/p/a b/é.png"), QStringLiteral("/p/b.jpg")}));
    text.setText(QStringLiteral("/p/c.bmp"));
    web.setUrls({QUrl(QStringLiteral("https://example.org/x.png"))});
    picture.setImageData(QImage(2, 2, QImage::Format_RGB32));
    for (const QMimeData* data : {&text, &web, &picture, &empty})
        EXPECT_FALSE(DroppedFiles(data).has_value()) << data->formats().join(' ').toStdString();
    EXPECT_FALSE(DroppedFiles(nullptr).has_value());
}
} // namespace
