#include "batch/BatchProgress.h"

#include "core/text/FileNames.h"
#include <QDir>
#include <QFileInfo>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr int kBarCells = 20;

QString Duration(std::chrono::seconds time)
{
    const long long total = time.count(), hours = total / 3600, minutes = total / 60 % 60,
                    seconds = total % 60;
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
    if (hours == 0)
        return minutesAndSeconds;
    return QStringLiteral("%1:%2").arg(hours).arg(minutesAndSeconds.rightJustified(5, u'0'));
}

// `text` cut to `width` characters by replacing its middle with "...".
QString ElideMiddle(const QString& text, qsizetype width)
{
    if (text.size() <= width)
        return text;
    if (width <= 3)
        return text.left(width);
    // The end keeps the larger half: numbered names differ there.
    const qsizetype head = (width - 3) / 2, tail = width - 3 - head;
    return text.left(head) + QStringLiteral("...") + text.right(tail);
}

int TerminalColumns(std::FILE* stream)
{
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

constexpr const char* kClearLine = "\r\x1b[K";
} // namespace

QString ProgressLine(std::size_t done, std::size_t total, const QString& current,
                     std::chrono::milliseconds elapsed, int columns)
{
    const std::size_t filled = total == 0 ? kBarCells : done * kBarCells / total;
    const QString count = QString::number(total);
    QString head = QStringLiteral("[%1%2] %3/%4 ")
                       .arg(QString(qsizetype(filled), u'#'),
                            QString(qsizetype(kBarCells - filled), u'-'),
                            QString::number(done).rightJustified(count.size()), count);
    QString tail;
    if (done > 0 && done < total) {
        const auto left = elapsed * (total - done) / done;
        tail = QStringLiteral(" %1 left")
                   .arg(Duration(std::chrono::duration_cast<std::chrono::seconds>(left)));
    }
    const qsizetype room = qsizetype(columns) - 1 - head.size() - tail.size();
    if (room < 4)
        return (head + tail).left(std::max(columns - 1, 0));
    return head + ElideMiddle(current, room) + tail;
}

BatchReport::BatchReport(std::FILE* stream, bool showProgress, std::size_t total)
    : stream_(stream), showProgress_(showProgress), total_(total)
{
}

BatchReport::~BatchReport()
{
    Clear();
}

void BatchReport::Started(const BatchItem& item)
{
    current_ = QString::fromUtf8(PrintableFileName(QFileInfo(item.background).fileName()));
    Draw();
}

void BatchReport::Finished(const BatchItem&, const QString& failedFile, const QString& reason)
{
    ++done_;
    if (!reason.isEmpty())
        Fail(failedFile, reason);
    Draw();
}

void BatchReport::Fail(const QString& file, const QString& reason)
{
    Clear();
    std::fprintf(stream_, "layerpix-compose: %s: %s\n",
                 PrintableFileName(file).constData(),
                 reason.toLocal8Bit().constData());
    std::fflush(stream_);
}

void BatchReport::Draw()
{
    if (!showProgress_)
        return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start_);
    const QString line = ProgressLine(done_, total_, current_, elapsed, TerminalColumns(stream_));
    std::fprintf(stream_, "%s%s", kClearLine, line.toLocal8Bit().constData());
    std::fflush(stream_);
}

void BatchReport::Clear()
{
    if (!showProgress_)
        return;
    std::fputs(kClearLine, stream_);
    std::fflush(stream_);
}
