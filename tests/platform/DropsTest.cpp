// What a drop's data yields as a file list.
#include "platform/Drops.h"

#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
TEST(Drops, LocalFilesComeInTheDropsOrderAndOtherAddressesAreLeftOut)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/p/c.bmp")),
                  QUrl(QStringLiteral("https://example.org/x.png")),
                  QUrl::fromLocalFile(QStringLiteral("/p/a b/é.png")),
                  QUrl::fromLocalFile(QStringLiteral("/p/b.jpg"))});
    const auto files = DroppedFiles(&data);
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(*files, QStringList({QStringLiteral("/p/c.bmp"), QStringLiteral("/p/a b/é.png"),
                                   QStringLiteral("/p/b.jpg")}));
}

TEST(Drops, DataWithoutLocalFilesIsNoFileList)
{
    QMimeData text;
    text.setText(QStringLiteral("/p/c.bmp"));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/x.png"))});
    QMimeData picture;
    picture.setImageData(QImage(2, 2, QImage::Format_RGB32));
    QMimeData empty;
    for (const QMimeData* data : {&text, &web, &picture, &empty})
        EXPECT_FALSE(DroppedFiles(data).has_value()) << data->formats().join(' ').toStdString();
    EXPECT_FALSE(DroppedFiles(nullptr).has_value());
}
} // namespace
