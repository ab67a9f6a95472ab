#include "applications/ListConsistency.h"

#include "applications/ApplicationColumns.h"
#include "platform/barcode/BarcodeFolding.h"
#include "platform/data/RecordSet.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

// A barcode row gives the code five places, blanks on the left of a shorter one.
constexpr qsizetype kCodeLength = 5;

// The characters of `code` that folding for the barcode changes: there the code would take
// more places, or read back as another code.
QString foldedCharacters(const QString& code) {
    QString changed;
    for (const QChar c : code)
        if (foldBarcodeText(QString(c)) != QString(c) && !changed.contains(c))
            changed += c;
    return changed.isEmpty() ? code : changed; // a combining accent folds only with its letter
}

std::optional<QString> codeProblem(const QString& code, const QString& name) {
    if (code.isEmpty())
        return QStringLiteral("una plaza de la lista de %1 no tiene código").arg(name);
    if (code.size() > kCodeLength) // a message quotes the start of a code of any length
        return QStringLiteral("la plaza \"%1\" de la lista de %2 tiene un código de más de %3 caracteres")
            .arg(code.size() > 20 ? code.left(20) + u'…' : code, name)
            .arg(kCodeLength);
    if (foldBarcodeText(code) != code)
        return QStringLiteral("la plaza \"%1\" de la lista de %2 tiene en su código caracteres que el "
                              "código de barras no puede llevar (%3)")
            .arg(code, name, foldedCharacters(code));
    return std::nullopt;
}

std::optional<QString> listProblem(const RecordSet& list, const QString& name) {
    if (!list.isOpen())
        return std::nullopt;
    std::vector<qint64> orders;
    QSet<QString> codes;
    std::unique_ptr<RecordSet> rows = list.clone();
    for (rows->moveFirst(); !rows->isEOF(); rows->moveNext()) {
        const QString code = rows->text(col::PreferenceList::CodConvocatoria);
        if (std::optional<QString> problem = codeProblem(code, name))
            return problem;
        if (codes.contains(code))
            return QStringLiteral("la plaza %1 está más de una vez en la lista de %2").arg(code, name);
        codes.insert(code);
        const Result<QVariant> order = rows->value(col::PreferenceList::Orden);
        orders.push_back(order.ok() ? order.value().toLongLong() : 0);
    }
    std::sort(orders.begin(), orders.end());
    for (size_t i = 0; i < orders.size(); ++i) {
        const qint64 expected = qint64(i) + 1;
        if (orders[i] == expected)
            continue;
        if (i > 0 && orders[i] == orders[i - 1])
            return QStringLiteral("la lista de %1 repite el orden %2").arg(name).arg(orders[i]);
        if (orders[i] < 1)
            return QStringLiteral("la lista de %1 tiene el orden %2, y los órdenes empiezan en 1")
                .arg(name)
                .arg(orders[i]);
        return QStringLiteral("a la lista de %1 le falta el orden %2").arg(name).arg(expected);
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> firstListProblem(const RecordSet& vacancies, const RecordSet& resultas) {
    if (std::optional<QString> problem = listProblem(vacancies, QStringLiteral("plazas vacantes")))
        return problem;
    return listProblem(resultas, QStringLiteral("plazas de resultas"));
}

} // namespace velmora
