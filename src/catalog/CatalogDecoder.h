#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace velmora {

class MessageService;

// The catalogue files store each character shifted down by three codes, so that they
// cannot be read as plain text. Decoding adds the offset back.
inline constexpr qint16 kDecodingOffset = -3;

// A scratch file name no other decoding uses, now or in another running instance:
// "temp-<process>-<number>.tmp".
QString scratchFileName();

// Shifts every byte of `line` by `offset`. A byte whose shifted code leaves 0..255 is
// an error: the text cannot be represented.
Result<QByteArray> DecodeLine(QByteArrayView line, qint16 offset);

// Decodes folder + fileName into a new scratch file in folder (scratchFileName), one record
// per CRLF-ended line, empty lines left out, and returns its name; the caller removes it once
// read. On any failure the error is shown
// ("Se ha producido el siguiente error N-descripción"), the scratch file removed and an
// empty name returned.
QString DecodeFile(const QString& folder, const QString& fileName, MessageService& messages);

// The inverse shift, for the office that produces the catalogue files.
Result<QByteArray> EncodeLine(QByteArrayView line);

// Splits bytes into lines at CR LF, CR or LF; a final line without an ending counts.
QList<QByteArrayView> splitLines(QByteArrayView bytes);

} // namespace velmora
