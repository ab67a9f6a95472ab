#pragma once

#include "office/OfficeApplication.h"

#include <vector>

namespace velmora {

class ContestRules;

// Turns what the pages of a batch gave into the batch's outcome. Pages may come in any
// order (workers finish them as they can): the outcome depends only on which pages were
// read, so a batch read in one run and the same batch read in parts and merged agree.
class OfficeOutcomeCollector {
public:
    explicit OfficeOutcomeCollector(const ContestRules* contest = nullptr) : m_contest(contest) {}

    void add(ScannedPage page) { m_scans.push_back(std::move(page)); }
    void add(SignedFileCheck signature) { m_signed.push_back(std::move(signature)); }

    // `files`: how many files the batch named.
    OfficeReadOutcome finish(int files, bool cancelled);

private:
    const ContestRules* m_contest;
    std::vector<ScannedPage> m_scans;
    std::vector<SignedFileCheck> m_signed;
};

} // namespace velmora
