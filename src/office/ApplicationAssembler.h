#pragma once

#include "office/OfficeApplication.h"
#include "office/ScannedBarcode.h"

#include <map>
#include <vector>

namespace velmora {

class ContestRules;

// Gathers the barcodes of a batch, in any order, and makes one application of the
// texts of each print (same key, date and time), with its checks run.
class ApplicationAssembler {
public:
    explicit ApplicationAssembler(const ContestRules* contest = nullptr) : m_contest(contest) {}

    void add(const PageOrigin& origin, const ScannedBarcode& barcode);

    // The applications, ordered by id and then by print date and time.
    std::vector<OfficeApplication> assemble() const;

private:
    struct Read {
        PageOrigin origin;
        ScannedBarcode barcode;
    };
    OfficeApplication assembleOne(const std::vector<Read>& reads) const;

    const ContestRules* m_contest;
    std::map<QString, std::vector<Read>> m_prints; // by ScannedBarcode::printId()
};

} // namespace velmora
