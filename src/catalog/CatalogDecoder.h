#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace velmora {

class MessageService;

// The catalogue files store each character shifted down by three codes, so that they
// cannot be read as plain text. Decoding adds the offset back.
inline constexpr qint16 kDecodingOffset = -3;
inline constexpr char kScratchFileName[] = "temp.tmp";

// Shifts every byte of `line` by `offset`. A byte whose shifted code leaves 0..255 is
// an error: the text cannot be represented.
Result<QByteArray> DecodeLine(QByteArrayView line, qint16 offset);

// Decodes folder + fileName in memory: the plain text, one record per CRLF-ended line,
// empty lines left out. On any failure the error is shown ("Se ha producido el siguiente
// error N-descripción") and returned. Loading reads every catalogue this way, so no file
// is written and two programs may load one installation at the same time.
Result<QByteArray> DecodeToMemory(const QString& folder, const QString& fileName, MessageService& messages);

// Decodes folder + fileName into folder + "temp.tmp", as DecodeToMemory does, and returns
// "temp.tmp" (for the office's tools, which want the plain file). On any failure the error
// is shown and an empty name is returned; the scratch file keeps the lines decoded before
// the failure.
QString DecodeFile(const QString& folder, const QString& fileName, MessageService& messages);

// The inverse shift, for the office that produces the catalogue files.
Result<QByteArray> EncodeLine(QByteArrayView line);

// Splits bytes into lines at CR LF, CR or LF; a final line without an ending counts.
QList<QByteArrayView> splitLines(QByteArrayView bytes);

} // namespace velmora
