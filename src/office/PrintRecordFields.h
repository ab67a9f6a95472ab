#pragma once

#include "office/OfficeApplication.h"

#include <QString>
#include <QStringList>

#include <array>

namespace velmora {

inline constexpr int kPrintRecordFieldCount = 37;

// The names the office gives the print record's fields, in record order.
const std::array<QString, kPrintRecordFieldCount>& printRecordFieldNames();

// 1-based positions of the fields the reader looks at by themselves.
namespace record {
inline constexpr int Surname1 = 2;
inline constexpr int Name = 4;
inline constexpr int Dni = 5;
inline constexpr int BirthDate = 6;
inline constexpr int Body = 20;
inline constexpr int Group = 21;
} // namespace record

bool isPrintRecordDateField(int position);

// A record date back as the editor shows it: "19800312" gives "12/03/1980", "00000000"
// gives "" (the field was empty). Anything else is returned unchanged.
QString printRecordDateText(const QString& recordDate);

// The record's fields as they stand (still folded). Always 37: missing ones are empty.
// `pieces` is how many the record holds (37 for a sound one; more when an applicant typed
// "|", in which case the extra pieces are joined into the last field).
QStringList splitPrintRecord(const QString& record, int* pieces = nullptr);

// The fields unfolded, dates as "DD/MM/YYYY".
QStringList readablePrintRecord(const QStringList& foldedFields);

} // namespace velmora
