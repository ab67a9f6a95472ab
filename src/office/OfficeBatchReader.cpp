#include "office/OfficeBatchReader.h"

#include "office/OfficeOutcomeCollector.h"
#include "office/ScanFile.h"
#include "office/SignedApplication.h"

#include <QFileInfo>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velmora {
namespace {

// Pages handed to one worker at a time: a PDF is opened once per run of pages, and a
// short file still spreads over every core.
constexpr int kLongestRun = 16;

struct PageRun {
    int file = 0;
    int first = 0;
    int count = 0;
    // The whole of a PDF with a form, which a signed application's is: its worker checks the
    // signature, which costs as much as drawing a page, once.
    bool mayBeSigned = false;
};

// One thing a worker finished: a page, or the signature of a signed file with how many of
// its pages that accounts for.
struct WorkerRead {
    std::optional<ScannedPage> page;
    std::optional<SignedFileCheck> signature;
    int pagesDone = 1;
};

// What the workers hand to the reading thread. Only finished pages wait here, each a few
// short texts, so memory stays flat whatever the batch.
class ReadQueue {
public:
    void push(WorkerRead read) {
        {
            std::lock_guard lock(m_mutex);
            m_reads.push_back(std::move(read));
        }
        m_ready.notify_one();
    }
    void workerDone() {
        {
            std::lock_guard lock(m_mutex);
            ++m_doneWorkers;
        }
        m_ready.notify_one();
    }
    // Waits for pages; empty once every worker is done and nothing is left.
    std::deque<WorkerRead> take(int workers) {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return !m_reads.empty() || m_doneWorkers == workers; });
        return std::exchange(m_reads, {});
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<WorkerRead> m_reads;
    int m_doneWorkers = 0;
};

} // namespace

OfficeBatchReader::OfficeBatchReader(OfficeReadOptions options) : m_options(options) {}

OfficeReadOutcome OfficeBatchReader::read(const QStringList& files, const ProgressHandler& progress) {
    OfficeOutcomeCollector collector(m_options.contest);
    std::vector<ScanFileInfo> scans;
    std::vector<QString> names;
    int total = 0;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        Result<ScanFileInfo> scan = inspectScanFile(path);
        if (!scan) {
            collector.add(ScannedPage{PageOrigin{name, 0}, {}, scan.error().description});
            continue;
        }
        scans.push_back(scan.value());
        names.push_back(name);
        total += scan->pages;
    }

    const int threads = std::max(1, m_options.threads > 0 ? m_options.threads : QThread::idealThreadCount());
    std::vector<PageRun> runs;
    for (int f = 0; f < int(scans.size()); ++f) {
        const int pages = scans[f].pages;
        if (scans[f].form) {
            runs.push_back(PageRun{f, 0, pages, true});
            continue;
        }
        const int length = std::clamp(pages / (threads * 2), 1, kLongestRun);
        for (int first = 0; first < pages; first += length)
            runs.push_back(PageRun{f, first, std::min(length, pages - first)});
    }

    ReadQueue queue;
    std::atomic<size_t> nextRun = 0;
    const auto work = [&] {
        for (size_t r = nextRun++; r < runs.size() && !m_cancelled; r = nextRun++) {
            const PageRun& run = runs[r];
            if (run.mayBeSigned) {
                SignedFileRead read =
                    readSignedApplication(scans[run.file], names[run.file], m_options.dpi, m_options.trust);
                for (ScannedPage& page : read.pages)
                    queue.push(WorkerRead{std::move(page), std::nullopt, 0});
                queue.push(WorkerRead{std::nullopt, std::move(read.check), run.count});
                continue;
            }
            Result<std::unique_ptr<ScanPageStream>> stream = openScanPages(scans[run.file], m_options.dpi);
            for (int p = run.first; p < run.first + run.count && !m_cancelled; ++p) {
                ScannedPage read{PageOrigin{names[run.file], p + 1}, {}, std::nullopt};
                if (!stream) {
                    read.error = stream.error().description;
                } else if (Result<QStringList> texts = readPageSymbols(*stream.value(), p); !texts) {
                    read.error = texts.error().description;
                } else {
                    read.texts = std::move(texts).value();
                }
                queue.push(WorkerRead{std::move(read), std::nullopt, 1});
            }
        }
        queue.workerDone();
    };
    const int workers = std::max(1, std::min(threads, int(runs.size())));
    std::vector<std::thread> pool;
    for (int i = 0; i < workers; ++i)
        pool.emplace_back(work);

    int done = 0;
    for (std::deque<WorkerRead> reads = queue.take(workers); !reads.empty(); reads = queue.take(workers)) {
        for (WorkerRead& read : reads) {
            done += read.pagesDone;
            if (read.page)
                collector.add(std::move(*read.page));
            if (read.signature)
                collector.add(std::move(*read.signature));
        }
        if (progress)
            progress(done, total);
    }
    for (std::thread& t : pool)
        t.join();

    return collector.finish(int(files.size()), m_cancelled);
}

} // namespace velmora
