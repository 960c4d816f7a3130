// Rows passed from a reader to a writer in bands, the writer on a thread of its own.
#include "base/Failure.h"
#include "codec/CodecInternal.h"
#include "codec/Rows.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// Rows of a band: enough that a call does real work, few enough that three bands of a
// camera photo take a few megabytes.
constexpr std::int32_t kBandRows = 64;
// One band being read, one waiting, one being written.
constexpr std::size_t kBands = 3;

// The bands and who holds which: the reader takes empty ones and queues filled ones, the
// writer takes filled ones and gives them back empty.
class BandQueue {
public:
    explicit BandQueue(std::size_t bands)
    {
        for (std::size_t i = 0; i < bands; ++i)
            empty_.push_back(i);
    }

    // The next empty band, or none once the writer has stopped.
    std::optional<std::size_t> TakeEmpty()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !empty_.empty() || stopped_; });
        if (stopped_)
            return std::nullopt;
        const std::size_t band = empty_.front();
        empty_.pop_front();
        return band;
    }
    // The next filled band, or none once every band has been written or the reader stopped.
    std::optional<std::size_t> TakeFilled()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !filled_.empty() || ended_ || stopped_; });
        if (filled_.empty() || stopped_)
            return std::nullopt;
        const std::size_t band = filled_.front();
        filled_.pop_front();
        return band;
    }
    void Filled(std::size_t band) { Change([&] { filled_.push_back(band); }); }
    void Emptied(std::size_t band) { Change([&] { empty_.push_back(band); }); }
    // No more bands will be filled.
    void End() { Change([&] { ended_ = true; }); }
    // Either side gives up; the other stops at its next band.
    void Stop(PipedRows::End end, const Failure& failure)
    {
        Change([&] {
            if (!stopped_)
                result_ = {end, failure};
            stopped_ = true;
        });
    }
    PipedRows Result()
    {
        const std::lock_guard lock(mutex_);
        return result_;
    }

private:
    template <typename Step>
    void Change(const Step& step)
    {
        {
            const std::lock_guard lock(mutex_);
            step();
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::size_t> empty_, filled_;
    bool ended_ = false, stopped_ = false;
    PipedRows result_;
};
} // namespace

PipedRows PipeRows(RowReader& reader, const std::function<bool(const CodecSurface& band, std::int32_t top)>& change,
                   RowWriter& writer)
{
    const std::int32_t width = reader.Width(), height = reader.Height();
    const std::int32_t bandRows = std::min(kBandRows, height);
    std::vector<std::unique_ptr<std::uint8_t[]>> pixels;
    std::vector<CodecSurface> bands;
    std::vector<std::int32_t> rows(kBands), tops(kBands);
    try {
        for (std::size_t i = 0; i < kBands; ++i) {
            pixels.emplace_back(new std::uint8_t[std::size_t(width) * 4 * std::size_t(bandRows)]);
            bands.push_back({pixels.back().get(), width, bandRows, width * 4});
        }
    } catch (const std::bad_alloc&) {
        return {PipedRows::End::ReadFailed, OutOfMemory()};
    }
    BandQueue queue(kBands);
    // The reading is the longer part (a JPEG decodes slower than it encodes), so the change
    // is made on the writer's thread.
    const auto write = [&] {
        while (const std::optional<std::size_t> band = queue.TakeFilled()) {
            try {
                CodecSurface read = bands[*band];
                read.height = rows[*band];
                if (!change(read, tops[*band]))
                    return queue.Stop(PipedRows::End::ReadFailed,
                                      {"the rows were not changed", "行を変更できませんでした"});
            } catch (const std::bad_alloc&) {
                return queue.Stop(PipedRows::End::ReadFailed, OutOfMemory());
            }
            if (writer.Write(bands[*band], rows[*band]) != kCodecOk)
                return queue.Stop(PipedRows::End::WriteFailed, CodecLastFailure());
            queue.Emptied(*band);
        }
        if (queue.Result().end == PipedRows::End::Done && writer.Finish() != kCodecOk)
            queue.Stop(PipedRows::End::WriteFailed, CodecLastFailure());
    };
    std::thread writing;
    try {
        writing = std::thread(write);
    } catch (const std::system_error&) {
        return {PipedRows::End::ReadFailed, {"cannot start a thread", "スレッドを開始できません"}};
    }
    for (std::int32_t top = 0; top < height; top += bandRows) {
        const std::optional<std::size_t> band = queue.TakeEmpty();
        if (!band)
            break;
        rows[*band] = std::min(bandRows, height - top);
        if (reader.Read(bands[*band], rows[*band]) != kCodecOk) {
            queue.Stop(PipedRows::End::ReadFailed, CodecLastFailure());
            break;
        }
        tops[*band] = top;
        queue.Filled(*band);
    }
    queue.End();
    writing.join();
    return queue.Result();
}
