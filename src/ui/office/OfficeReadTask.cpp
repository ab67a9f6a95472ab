#include "ui/office/OfficeReadTask.h"

#include "office/OfficeBatchReader.h"

#include <QMetaObject>

#include <exception>
#include <utility>

namespace velmora {
namespace {

class BatchReading : public OfficeReading {
public:
    BatchReading(const ContestRules* contest, const SignatureTrust* trust)
        : m_reader(options(contest, trust)) {}

    OfficeReadOutcome read(const QStringList& files, const ProgressHandler& progress) override {
        return m_reader.read(files, progress);
    }
    void cancel() override { m_reader.cancel(); }

private:
    static OfficeReadOptions options(const ContestRules* contest, const SignatureTrust* trust) {
        OfficeReadOptions options;
        options.contest = contest;
        options.trust = trust;
        return options;
    }

    OfficeBatchReader m_reader;
};

} // namespace

std::unique_ptr<OfficeReading> makeBatchReading(const ContestRules* contest, const SignatureTrust* trust) {
    return std::make_unique<BatchReading>(contest, trust);
}

OfficeReadTask::OfficeReadTask(std::unique_ptr<OfficeReading> reading, QStringList files, QObject* parent)
    : QObject(parent), m_reading(std::move(reading)), m_files(std::move(files)) {}

OfficeReadTask::~OfficeReadTask() {
    cancel();
    stop();
}

void OfficeReadTask::start() {
    if (running())
        return;
    m_thread = std::thread([this] {
        auto progress = [this](int done, int total) {
            // Queued to this object: dropped, not delivered, if the task is gone by then.
            QMetaObject::invokeMethod(
                this, [this, done, total] { Q_EMIT progressed(done, total); }, Qt::QueuedConnection);
        };
        OfficeReadOutcome outcome;
        try {
            outcome = m_reading->read(m_files, progress);
        } catch (const std::exception& e) {
            // A fault in the reader must not end the program with the batch's work lost.
            outcome.cancelled = true;
            outcome.fileProblems.push_back(
                {QStringLiteral("Lectura"), QStringLiteral("Error del lector"), QString::fromUtf8(e.what())});
        }
        QMetaObject::invokeMethod(
            this,
            [this, outcome = std::move(outcome)]() mutable {
                stop();
                m_outcome = std::move(outcome);
                Q_EMIT finished();
            },
            Qt::QueuedConnection);
    });
}

void OfficeReadTask::cancel() {
    if (running())
        m_reading->cancel();
}

void OfficeReadTask::stop() {
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace velmora
