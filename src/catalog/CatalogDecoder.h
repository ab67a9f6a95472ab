#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace velmora {

// The catalogue files store each character shifted down by three codes, so that they
// cannot be read as plain text. Decoding adds the offset back.
inline constexpr qint16 kDecodingOffset = -3;
inline constexpr char kScratchFileName[] = "temp.tmp";

// Shifts every byte of `line` by `offset`. A byte whose shifted code leaves 0..255 is
// an error: the text cannot be represented.
Result<QByteArray> DecodeLine(QByteArrayView line, qint16 offset);

// Decodes folder + fileName in memory: the plain text, one record per CRLF-ended line,
// empty lines left out. A failure is a numbered error (told "Se ha producido el siguiente
// error N-descripción"): a missing file (ErrorCode::FileNotFound), one that cannot be read
// (FileAccess), a byte that does not decode (InvalidProcedureCall). Loading reads every
// catalogue this way, so no file is written and two programs may load one installation at
// the same time.
Result<QByteArray> DecodeToMemory(const QString& folder, const QString& fileName);

// Decodes folder + fileName into folder + "temp.tmp", as DecodeToMemory does, and returns
// "temp.tmp" (for the office's tools, which want the plain file). Fails as DecodeToMemory
// does, or when the scratch file cannot be written; the scratch file keeps the lines decoded
// before the failure.
Result<QString> DecodeFile(const QString& folder, const QString& fileName);

// The records of a catalogue file as stored, still shifted: the lines DecodeToMemory would
// give, each already checked to decode. For readers that decode only the fields they keep
// (loading): the file is never decoded whole into fresh memory, because first touches of
// fresh memory were half of a load's time. The views stay valid while this lives.
struct StoredRecords {
    QByteArray bytes; // the whole file
    QList<QByteArrayView> lines;
};
// Fails as DecodeToMemory does, with the same errors.
Result<std::unique_ptr<const StoredRecords>> ReadStoredRecords(const QString& folder,
                                                               const QString& fileName);
// Writes the plain bytes of a piece of a stored record that ReadStoredRecords checked to
// `plain` (as many bytes as the piece has).
void DecodeStored(QByteArrayView stored, char* plain);
// A blank as stored.
inline constexpr char kStoredBlank = char(' ' - kDecodingOffset);

// The inverse shift, for the office that produces the catalogue files.
Result<QByteArray> EncodeLine(QByteArrayView line);

// Splits bytes into lines at CR LF, CR or LF; a final line without an ending counts.
QList<QByteArrayView> splitLines(QByteArrayView bytes);

} // namespace velmora
