#pragma once

#include "printing/BarcodeText.h"

#include <QDateTime>
#include <QImage>

namespace velmora::test {

inline QDateTime samplePrintMoment() {
    return QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9));
}

inline QString sampleHeader() {
    return barcodeHeader(ClaveCodigoBarras(u"12345678Z"_s, u"0012341"_s, u"1"_s), samplePrintMoment());
}

// A print record the way a real application fills it: Spanish names and addresses,
// dates, codes, and the free text of the adaptations field as long as needed.
inline QString samplePrintRecord(const QString& adaptations) {
    return QStringLiteral("N|García-Ñúñez|Muñoz de la Peña|María José|12345678Z|19800312|981 123 456|S|"
                          "87654321X|Pérez|Iglesias|Jesús Ángel|S|Física, 45 %|") +
           adaptations +
           QStringLiteral("|Rúa do Hórreo, 12, 3º B|Santiago de Compostela|15|15705|12341|A1|1234567890|"
                          "20050901|O|Excedencia por cuidado de familiares|20200115|S||D|1507801|150101|"
                          "1501|N|20100301|Complexo Hospitalario Universitario de Santiago \"CHUS\"|"
                          "Santiago de Compostela|A Coruña|");
}

// An unfolded first-page barcode text whose folded form is exactly `foldedLength` long.
inline QString sampleFirstPageText(int foldedLength) {
    const QString prose = QStringLiteral(
        "Necesito adaptación del puesto: acceso sin escaleras, mobiliario ergonómico y turno de mañana; "
        "¿es posible también el aparcamiento reservado? ¡Gracias! Informe del 12/05/2019 (Dª Inés Núñez). ");
    QString adaptations;
    while (adaptations.size() < foldedLength)
        adaptations += prose;
    const auto build = [&](const QString& a) {
        return barcodeText(sampleHeader(), BarcodeKind::FirstPage, 1, samplePrintRecord(a));
    };
    QString previous;
    for (int n = 0; n <= adaptations.size(); ++n) {
        const QString text = build(adaptations.left(n));
        const qsizetype length = foldBarcodeText(text).size();
        if (length == foldedLength)
            return text;
        if (length > foldedLength) // the last letter folded into two characters: finish with a plain one
            return n == 0 ? QString() : build(adaptations.left(n - 1) + u'x');
    }
    return QString();
}

} // namespace velmora::test
