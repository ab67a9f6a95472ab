#include "office/ScannedBarcode.h"
#include "users/DniValidator.h"

#include "office/PrintRecordFields.h"

#include <QRegularExpression>

namespace velmora {
namespace {

// The shortest key: a DNI padded to 9, a body padded to 5 and a group of at least 1.
constexpr int kShortestKey = 15;

Error notOurs(const QString& why) {
    return Error::make(ErrorCode::TypeMismatch, why);
}

} // namespace

Result<ScannedBarcode> parseScannedBarcode(const QString& text) {
    // Date and time are the first place in a text where "/" and ":" stand; the key before
    // them is letters, digits and blanks only, so the first match is the header's.
    static const QRegularExpression header(
        QStringLiteral(R"((\d\d/\d\d/\d{4})(\d\d:\d\d:\d\d)([PVR])(\d{3}))"));
    const QRegularExpressionMatch m = header.match(text);
    if (!m.hasMatch())
        return notOurs(QStringLiteral("no lleva fecha, hora, tipo y página de una solicitud"));
    if (m.capturedStart() < kShortestKey)
        return notOurs(QStringLiteral("la clave tiene menos de %1 caracteres").arg(kShortestKey));

    ScannedBarcode b;
    b.text = text;
    b.key = text.left(m.capturedStart());
    b.dni = b.key.left(kDniLength).trimmed();
    b.body = b.key.mid(kDniLength, 5);
    b.group = b.key.mid(14).trimmed();
    b.date = m.captured(1);
    b.time = m.captured(2);
    b.kind = BarcodeKind(m.captured(3).at(0).toLatin1());
    b.page = m.captured(4).toInt();
    const QString rest = text.mid(m.capturedEnd());
    b.cut = !rest.endsWith(QLatin1Char('F'));
    b.data = b.cut ? rest : rest.chopped(1);
    // A cut text may by chance end in "F": the data's own shape tells. A print record
    // writes every one of its fields followed by "|", so a whole one ends with "|" and holds
    // at least that many (more only when a "|" was typed inside a field); a record cut
    // right after a field that starts with "F" still ends in "|F" but lacks separators.
    // List data is whole rows of 9 characters.
    if (!b.cut) {
        const bool shaped = b.kind == BarcodeKind::FirstPage
                                ? b.data.endsWith(QLatin1Char('|')) &&
                                      b.data.count(QLatin1Char('|')) >= kPrintRecordFieldCount
                                : b.data.size() % 9 == 0;
        if (!shaped) {
            b.cut = true;
            b.data = rest;
        }
    }
    return b;
}

} // namespace velmora
