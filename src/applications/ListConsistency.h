#pragma once

#include <QString>

#include <optional>

namespace velmora {

class RecordSet;

// What a final printout needs of the two position lists, whose barcodes carry each row as a
// four-digit order and a code in five places: orders running 1..n with none repeated or
// missing, codes of one to five characters that the barcode carries as they are (folding
// would lengthen "1001é" and shift every later row), no code twice in a list. The first problem
// found, in words for the user ("la lista de plazas vacantes repite el orden 5"), or none.
std::optional<QString> firstListProblem(const RecordSet& vacancies, const RecordSet& resultas);

} // namespace velmora
