#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QString>

namespace velmora {

struct SigningCertificate;

// What a signature shows and where: the signature field's name, and the caption whose box
// the visible signature fills on the first page (it goes below that caption's lines of
// text, above the line starting with `endCaption`).
struct SignatureLook {
    QString fieldName;
    QString caption;
    QString endCaption;
    QString reason;
};

// Signs the PDF `input` with `certificate` of the open certificate database (its key
// unlocked, or in a database without password) and writes `output`: one PDF signature
// (adbe.pkcs7.detached, SHA-256, with the signing time) over the whole file, shown on the
// first page with the holder's name, NIF and the date and time `at`. The signed file goes to
// a new file beside `output` and is renamed over it once complete: a failure leaves
// `output` as it was.
Status signPdf(const QString& input, const QString& output, const SigningCertificate& certificate,
               const QString& password, const SignatureLook& look, const QDateTime& at);

} // namespace velmora
