#pragma once

#include "office/OfficeApplication.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <thread>

namespace velmora {

class ContestRules;
class SignatureTrust;

// One reading of a batch as the window starts it: the office's batch reader, or a stand-in.
class OfficeReading {
public:
    using ProgressHandler = std::function<void(int done, int total)>;
    virtual ~OfficeReading() = default;
    // Blocks the calling thread (never the interface's); `progress` is called on that thread.
    virtual OfficeReadOutcome read(const QStringList& files, const ProgressHandler& progress) = 0;
    // Safe from any thread: read() returns soon after, with what it has.
    virtual void cancel() = 0;
};

// Makes the reading of one batch; the contest, or the authorities signed files must chain to,
// are null when none were chosen.
using OfficeReadingFactory =
    std::function<std::unique_ptr<OfficeReading>(const ContestRules* contest, const SignatureTrust* trust)>;

// The office's batch reader behind the window's reading.
std::unique_ptr<OfficeReading> makeBatchReading(const ContestRules* contest, const SignatureTrust* trust);

// Runs one reading on a thread of its own, so the window keeps answering while hundreds of
// pages are decoded. Progress and the end arrive as signals on the thread that owns the task.
// Destroying a running task cancels it and waits for the reading to stop.
class OfficeReadTask : public QObject {
    Q_OBJECT
public:
    OfficeReadTask(std::unique_ptr<OfficeReading> reading, QStringList files, QObject* parent = nullptr);
    ~OfficeReadTask() override;

    void start();
    void cancel();
    bool running() const { return m_thread.joinable(); }
    // What the reading gave back, once finished() was sent.
    const OfficeReadOutcome& outcome() const { return m_outcome; }

Q_SIGNALS:
    void progressed(int done, int total);
    void finished();

private:
    void stop();

    std::unique_ptr<OfficeReading> m_reading;
    QStringList m_files;
    std::thread m_thread;
    OfficeReadOutcome m_outcome;
};

} // namespace velmora
