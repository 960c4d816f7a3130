// A scripted session for measuring peak memory from outside (the bench script runs it
// under /usr/bin/time -v): open a pair in the main window, press "合成", drop the
// foreground elsewhere in the view and optionally save the composite, then quit.
//   bench_peak --pictures=<folder> --pair=24mp|54mp --files=jpg|png [--save] [--floor]
// With --floor it only decodes the two files and copies the background into a composite:
// the least memory any program needs to hold the pair and its composite.
#include "support/BenchPictures.h"

#include "core/document/Document.h"
#include "core/settings/Settings.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"
#include "core/view/ExportComposite.h"

#include <QApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>

namespace {
struct Options {
    QString pictures;
    const PairSize* pair = &kPair24;
    const char* files = "jpg";
    bool save = false;
    bool floor = false;
};

Options ReadOptions(int argc, char* argv[])
{
    Options options;
    options.pictures = TakePicturesFolder(argc, argv, "bench_peak");
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--pair=54mp") == 0)
            options.pair = &kPair54;
        else if (std::strcmp(arg, "--files=png") == 0)
            options.files = "png";
        else if (std::strcmp(arg, "--save") == 0)
            options.save = true;
        else if (std::strcmp(arg, "--floor") == 0)
            options.floor = true;
    }
    return options;
}

// Lets the windows handle what is pending, painting included.
void Settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QTest::qWait(5);
    }
}

int Floor(const Options& options)
{
    Document document{SettingsRecord{}};
    frmMain main(document);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    QImageReader::setAllocationLimit(0);
    const QImage front =
        QImageReader(PicturePath(options.pictures, *options.pair, PictureKind::Front, options.files)).read();
    const QImage back =
        QImageReader(PicturePath(options.pictures, *options.pair, PictureKind::Back, options.files)).read();
    QImage composite = back.copy();
    composite.fill(Qt::black);
    Settle();
    return front.isNull() || back.isNull() || composite.isNull() ? 1 : 0;
}

int Session(const Options& options)
{
    Document document{SettingsRecord{}};
    frmMain main(document);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    document.Settings.TransColor = kKeyColour;
    document.Settings.TransRate = 50;
    main.OpenSourcePicture(PicturePath(options.pictures, *options.pair, PictureKind::Front, options.files), 0);
    main.OpenSourcePicture(PicturePath(options.pictures, *options.pair, PictureKind::Back, options.files), 1);
    if (document.PicImg[1].Width() != options.pair->back.width())
        return 1;
    document.FrontX = options.pair->back.width() / 6;
    document.FrontY = options.pair->back.height() / 5;
    QTest::mouseClick(main.findChild<QWidget*>(QStringLiteral("BTN(0)")), Qt::LeftButton);
    if (main.View() == nullptr)
        return 1;
    Settle();
    auto* board = main.View()->findChild<PictureBox*>(QStringLiteral("Board"));
    const QPoint grab = main.View()->findChild<QWidget*>(QStringLiteral("Shape1"))->geometry().center();
    QTest::mousePress(board, Qt::LeftButton, {}, grab);
    QTest::mouseRelease(board, Qt::LeftButton, {}, grab + QPoint(101, 67));
    Settle();
    if (options.save) {
        QTemporaryDir folder;
        if (!WriteComposite(board->surface(), folder.filePath("composite.jpg"),
                            SaveFormat::Jpeg, {50, 0, 1}))
            return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    DrawOffScreenUnlessAsked();
    QApplication app(argc, argv);
    const Options options = ReadOptions(argc, argv);
    if (options.pictures.isEmpty())
        return 2;
    return options.floor ? Floor(options) : Session(options);
}
