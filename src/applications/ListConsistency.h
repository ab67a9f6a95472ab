#pragma once

#include <QString>

#include <optional>

namespace velmora {

class RecordSet;

// What a final printout needs of the two position lists, whose barcodes carry each row as a
// four-digit order and a five-character code: orders running 1..n with none repeated or
// missing, codes of exactly five characters, no code twice in a list. The first problem
// found, in words for the user ("la lista de plazas vacantes repite el orden 5"), or none.
std::optional<QString> firstListProblem(const RecordSet& vacancies, const RecordSet& resultas);

} // namespace velmora
