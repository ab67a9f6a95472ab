#pragma once

#include "office/OfficeApplication.h"

namespace velmora {

class ContestRules;

// The printed page numbers of the vacancy and resultas pages, first the vacancy ones:
// one run of consecutive numbers after the first page, each once.
void checkListPageRun(OfficeApplication& application, const std::vector<int>& vacancyPages,
                      const std::vector<int>& resultasPages);

// Orders 1..n with no gap across pages, and no position twice on one list.
void checkListRows(OfficeApplication& application);

// The data the program will not print without: name, first surname, date of birth, DNI,
// body and group, and at least one position.
void checkRequiredData(OfficeApplication& application);

// Against the contest: the DNI's letter, body and group known, every position offered to
// the body on its list.
void checkAgainstContest(OfficeApplication& application, const ContestRules& contest);

// The program's rule for a DNI: 8 digits (padded with "0" on the left) and their letter.
bool dniLetterIsRight(const QString& dni);

} // namespace velmora
