#pragma once

#include "office/OfficeApplication.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace velmora {

class ContestRules;
class SignatureTrust;

struct OfficeReadOptions {
    int dpi = 200;                         // resolution PDF pages are rendered at
    int threads = 0;                       // 0: one per core
    const ContestRules* contest = nullptr; // when given, applications are checked against it
    const SignatureTrust* trust =
        nullptr; // the authorities signed PDFs must chain to; none: no signer is trusted
};

// Reads a batch of scanned PDFs and pictures, and of signed PDFs, back into applications. Pages are decoded
// on every core, a few at a time, so memory does not grow with the batch. read() blocks the calling thread,
// which may be any thread but the interface's; cancel() and the progress numbers are safe to use from any
// thread.
class OfficeBatchReader {
public:
    // Called on the thread that runs read(), after each page: pages done, pages in all.
    using ProgressHandler = std::function<void(int done, int total)>;

    explicit OfficeBatchReader(OfficeReadOptions options = {});

    OfficeReadOutcome read(const QStringList& files, const ProgressHandler& progress = {});

    // Stops a running read() as soon as the pages in hand are done; it returns what it has,
    // marked as cancelled.
    void cancel() { m_cancelled = true; }

private:
    OfficeReadOptions m_options;
    std::atomic<bool> m_cancelled = false;
};

} // namespace velmora
