#pragma once

#include <QString>

namespace velmora {

// "|" ends every field of the print record that the first page's barcode carries. A text
// holding one would split its field in two and shift every later field, and the office would
// file the application under a key that is not the applicant's; so no text the applicant
// writes may hold it. The boxes refuse it as a typed key, and a pasted one, or one kept in a
// file saved before, turns into the stand-in, which reads much the same on paper.
inline constexpr QChar kRecordSeparator = u'|';
inline constexpr QChar kRecordSeparatorStandIn = u'/';

// `text` with every separator replaced by its stand-in.
inline QString withoutRecordSeparator(QString text) {
    return text.replace(kRecordSeparator, kRecordSeparatorStandIn);
}

} // namespace velmora
