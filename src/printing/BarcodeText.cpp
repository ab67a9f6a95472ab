#include "printing/BarcodeText.h"

#include "applications/ApplicationColumns.h"
#include "platform/data/RecordSet.h"

#include <utility>

namespace velmora {
namespace {

// Same padding as PadText: fills up to the length, never cuts.
QString padLeft(const QString& text, int length, QChar fill) {
    return text.rightJustified(length, fill);
}
QString padRight(const QString& text, int length, QChar fill) {
    return text.leftJustified(length, fill);
}

} // namespace

QString ClaveCodigoBarras(const QString& dni, const QString& cuerpo, const QString& grupo) {
    const QString body = cuerpo.size() > 5 ? cuerpo.right(5) : cuerpo;
    return padRight(dni, 9, u' ') + padLeft(body, 5, u'0') + padLeft(grupo, 1, u' ');
}

QString barcodeHeader(const QString& key, const QDateTime& printedAt) {
    return key + printedAt.toString(QStringLiteral("dd/MM/yyyy")) +
           printedAt.toString(QStringLiteral("HH:mm:ss"));
}

QString barcodeText(const QString& header, BarcodeKind kind, int page, const QString& data) {
    const QString pageText =
        kind == BarcodeKind::FirstPage ? QStringLiteral("001") : padLeft(QString::number(page), 3, u'0');
    return header + QChar(char16_t(kind)) + pageText + data + u'F';
}

Result<QString> listRowBarcodeData(const RecordSet& list) {
    Result<QVariant> order = list.value(col::PreferenceList::Orden);
    if (!order)
        return order.error();
    Result<QVariant> code = list.value(col::PreferenceList::CodConvocatoria);
    if (!code)
        return code.error();
    return padLeft(order->toString(), 4, u'0') + padLeft(code->toString(), 5, u' ');
}

Result<QString> listPageBarcodeData(RecordSet& list, int first, int count) {
    if (first < 0 || count < 0 || first + count > list.recordCount())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("Las filas %1 a %2 no están en la lista de %3 filas")
                               .arg(first + 1)
                               .arg(first + count)
                               .arg(list.recordCount()));
    // The printing loop walks the same cursor, so put it back where it was.
    const bool atEnd = list.isEOF();
    const bool atStart = !atEnd && list.isBOF();
    const int position = list.absolutePosition();
    const auto restore = [&] {
        if (atEnd) {
            list.moveLast();
            list.moveNext();
        } else if (atStart) {
            list.moveFirst();
            list.movePrevious();
        } else {
            list.setAbsolutePosition(position);
        }
    };

    QString data;
    data.reserve(count * 9);
    for (int i = 0; i < count; ++i) {
        list.setAbsolutePosition(first + i);
        Result<QString> row = listRowBarcodeData(list);
        if (!row) {
            restore();
            return row.error();
        }
        data += row.value();
    }
    restore();
    return data;
}

} // namespace velmora
