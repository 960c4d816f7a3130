#include "batch/BatchRun.h"

#include "base/Failure.h"
#include "core/compose/BoardTarget.h"
#include "core/compose/ComposeImages.h"
#include "core/compose/ScaledForeground.h"
#include "core/surfaces/Surface.h"
#include "core/surfaces/SystemColours.h"
#include "core/sources/SourceMetadata.h"
#include "core/sources/SourcePicture.h"
#include "core/sources/SourceRows.h"
#include "core/text/FileNames.h"
#include "core/view/ExportComposite.h"
#include "core/view/StampedJpeg.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include <sys/stat.h>

namespace {

struct ItemFailure {
    QString file;   // empty: none
    QString reason;
};

// The command line speaks English.
QString English(const Failure& failure)
{
    return QString::fromStdString(failure.english);
}

LoadedPicture LoadForeground(const QString& path, bool alpha)
{
    try {
        return LoadSourcePicture(path, alpha ? PictureBackground() : HolderBackColour);
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

// One worker's surfaces, as the window's foreground and background holders and its board;
// nothing shows the blended patch, so there is no work surface. The board is kept from one
// background to the next, so pictures of one size reuse it.
class Composer {
public:
    Composer(const std::shared_future<LoadedPicture>& foreground, const BatchSettings& settings)
        : foreground_(foreground), settings_(settings)
    {
        front_.AutoSize = back_.AutoSize = true;
    }

    // The output's name is taken, before the composing or (by another process) during it.
    static ItemFailure Taken(const BatchItem& item)
    {
        return {item.output, English(ExistsAlready()) + QStringLiteral("; --overwrite replaces it")};
    }

    // When the foreground turns out not to be a picture, returns without composing; the
    // caller asks the foreground itself before it reports anything.
    ItemFailure Compose(const BatchItem& item)
    {
        struct stat output {};
        if (!settings_.overwrite && ::lstat(EncodeFileName(item.output).constData(), &output) == 0)
            return Taken(item);
        const Existing existing = settings_.overwrite ? Existing::Replace : Existing::Keep;
        const PictureMetadata metadata = settings_.strip ? PictureMetadata{} : ReadSourceMetadata(item.background);
        if (settings_.keepJpegBlocks && item.format == SaveFormat::Jpeg) {
            if (!HasForeground())
                return {};
            QPoint corner;
            const Result<bool> kept = WriteStampedJpeg(
                item.background, std::nullopt,
                [&](QSize background) {
                    corner = Place(background);
                    return PixelRect{corner.x(), corner.y(), front_.Width(), front_.Height()};
                },
                [&](const PixelRect& region, CodecSurface& pixels) {
                    return ComposeOverRegion(settings_.key, KeyTolerance(), settings_.rate, corner.x(), corner.y(),
                                             front_, back_, board_, region, pixels);
                },
                metadata, item.output, existing);
            if (!kept)
                return WriteFailure(item, kept.failure());
            if (*kept)
                return {};
        }
        if (std::unique_ptr<RowReader> rows = OpenSourceRows(item.background, HolderBackColour)) {
            const QSize size(rows->Width(), rows->Height());
            std::optional<QRect> placed;   // where the foreground lies, once it has been read
            std::future<void> readied;     // the foreground resized meanwhile
            const Result<bool> streamed = WriteStreamedComposite(
                *rows,
                [&](const CodecSurface& band, std::int32_t top) {
                    const std::int32_t bottom = top + band.height;
                    if (!placed) {
                        // At a fixed corner, the rows above it go through while the foreground
                        // is still being read; the last band waits for it, so that nothing is
                        // written when it turns out not to be a picture.
                        if (!settings_.gravity && bottom <= settings_.y && bottom < size.height() &&
                            foreground_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
                            return true;
                        if (!HasForeground())
                            return false;
                        placed = Placement(size);
                        // Resizing takes a while; the rows above the foreground go through
                        // meanwhile.
                        readied = std::async(std::launch::async | std::launch::deferred,
                                             [this, front = placed->size()] { ReadyFront(front); });
                    }
                    if (bottom <= placed->top() || top > placed->bottom())
                        return true;
                    if (readied.valid())
                        readied.get();
                    if (QSize(front_.Width(), front_.Height()) != placed->size())
                        return false;
                    ComposeWhereTheyLie(QImage(band.bits, band.width, band.height, band.stride, QImage::Format_RGB32),
                                        placed->topLeft() - QPoint(0, top));
                    board_.Board().hDC() = QImage();   // the band's memory is the pipe's, not the board's
                    return true;
                },
                item.output, item.format, settings_.save, metadata, existing);
            if (readied.valid())
                readied.wait();
            if (!streamed)
                return WriteFailure(item, streamed.failure());
            if (*streamed)
                return {};
        }
        LoadedPicture loaded = LoadSourcePicture(item.background, HolderBackColour);
        if (!loaded)
            return {item.background, English(loaded.failure())};
        if (!*loaded)
            return {item.background, QStringLiteral("the name is empty")};
        if (!HasForeground())
            return {};
        const QPoint corner = Place((*loaded)->size());
        ComposeWhereTheyLie(std::move(**loaded).convertToFormat(QImage::Format_RGB32), corner);
        // Without --overwrite a file that another process makes meanwhile is kept too.
        const Result<void> written =
            WriteComposite(board_.Board(), item.output, item.format, settings_.save, metadata, existing);
        if (!written)
            return WriteFailure(item, written.failure());
        return {};
    }

private:
    // Composes the foreground, its corner at `corner`, over `pixels` where they lie: the board
    // takes them and the background surface reads them without owning them, so only the
    // overlap is written and no second picture-sized bitmap is touched.
    void ComposeWhereTheyLie(QImage pixels, QPoint corner)
    {
        QImage& board = board_.Board().hDC();
        board = std::move(pixels);
        back_.SetPicture(QImage(board.constBits(), board.width(), board.height(), board.bytesPerLine(), board.format()));
        ComposeImages(settings_.key, KeyTolerance(), settings_.rate, corner.x(), corner.y(),
                      {front_, back_, nullptr}, board_);
        // The background surface lets go of the board's pixels before they change. (Shrunk
        // first: clearing a bitmap that still shares the picture's pixels would copy them.)
        back_.SetSize(1, 1);
        back_.SetPicture(std::nullopt);
    }

    static ItemFailure WriteFailure(const BatchItem& item, const Failure& failure)
    {
        return failure.english == ExistsAlready().english ? Taken(item) : ItemFailure{item.output, English(failure)};
    }

    // False when the foreground turns out not to be a picture.
    bool HasForeground() const
    {
        const LoadedPicture& foreground = foreground_.get();
        return foreground && *foreground;
    }

    // Where the foreground lies on a background of `background` size, resized for it when
    // asked: its corner by the gravity, else at --at. Nothing is resized yet.
    QRect Placement(QSize background) const
    {
        const QSize picture = (*foreground_.get())->size();
        const QSize front = settings_.scale ? ScaledFrontSize(picture, background, *settings_.scale) : picture;
        return {settings_.gravity ? PlacedCorner(front, background, *settings_.gravity, settings_.margin)
                                  : QPoint(settings_.x, settings_.y),
                front};
    }

    // Gives the foreground surface the picture at `size`, resized when asked.
    void ReadyFront(QSize size)
    {
        const QImage& picture = **foreground_.get();
        if (!settings_.scale) {
            if (!front_.HasPicture())
                front_.SetPicture(picture);
        } else if (scaledTo_ != size) {
            front_.SetPicture(ScaledForeground(picture, settings_.key, settings_.keyTolerance, size));
            scaledTo_ = size;
        }
    }

    // Readies the foreground for a background of `background` size and returns where its
    // corner lies.
    QPoint Place(QSize background)
    {
        const QRect placed = Placement(background);
        ReadyFront(placed.size());
        return placed.topLeft();
    }

    // A resized foreground was keyed before it was resized.
    std::int32_t KeyTolerance() const { return settings_.scale ? 0 : settings_.keyTolerance; }

    const std::shared_future<LoadedPicture>& foreground_;
    const BatchSettings& settings_;
    Surface front_{0, 0, HolderBackColour}, back_{0, 0, HolderBackColour};
    std::optional<QSize> scaledTo_;   // the size front_ was resized to
    BoardTarget board_;
};

} // namespace

int RunBatch(const QString& foreground, const std::vector<BatchItem>& items,
             const BatchSettings& settings, BatchObserver& observer)
{
    // With no thread to spare, the foreground is loaded by the first worker that asks for it.
    const std::shared_future<LoadedPicture> loading =
        std::async(std::launch::async | std::launch::deferred, LoadForeground, foreground,
                   settings.alpha).share();
    const auto foregroundFailed = [&loading] {
        const LoadedPicture& foreground = loading.get();
        return !foreground || !*foreground;
    };
    const std::size_t workers =
        std::min<std::size_t>(std::size_t(std::max(settings.jobs, 1)), items.size());
    std::vector<std::unique_ptr<Composer>> composers;
    for (std::size_t i = 0; i < workers; ++i)
        composers.push_back(std::make_unique<Composer>(loading, settings));

    std::atomic<std::size_t> next{0};
    std::mutex reporting;
    int failed = 0;
    const auto work = [&](Composer& composer) {
        for (std::size_t i = next++; i < items.size(); i = next++) {
            const BatchItem& item = items[i];
            if (!item.refusal.isEmpty())
                continue;
            {
                const std::lock_guard lock(reporting);
                observer.Started(item);
            }
            ItemFailure failure;
            try {
                failure = composer.Compose(item);
            } catch (const std::bad_alloc&) {
                failure = {item.background, English(OutOfMemory())};
            }
            if (foregroundFailed())
                return;
            const bool written = failure.reason.isEmpty();
            const std::lock_guard lock(reporting);
            failed += written ? 0 : 1;
            observer.Finished(item, written ? QString() : failure.file, failure.reason);
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers; ++i)
        threads.emplace_back(work, std::ref(*composers[i]));
    if (workers > 0)
        work(*composers[0]);
    for (std::thread& thread : threads)
        thread.join();
    if (foregroundFailed()) {
        // An empty name fails without a reason of its own.
        const LoadedPicture& loaded = loading.get();
        observer.Fail(foreground, loaded ? QString() : English(loaded.failure()));
        return 1;
    }
    return failed;
}
