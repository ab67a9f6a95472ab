#include "printing/FinalPrintLists.h"

#include "applications/ApplicationColumns.h"
#include "applications/ListConsistency.h"
#include "platform/data/RecordSet.h"

#include <algorithm>

namespace velmora {
namespace {

// Orders already run 1..n here, so the last one is the list's length.
std::optional<QString> tooLongForTheBarcode(const RecordSet& list, const QString& name) {
    if (!list.isOpen())
        return std::nullopt;
    qint64 last = 0;
    std::unique_ptr<RecordSet> rows = list.clone();
    for (rows->moveFirst(); !rows->isEOF(); rows->moveNext()) {
        const Result<QVariant> order = rows->value(col::PreferenceList::Orden);
        last = std::max(last, order.ok() ? order.value().toLongLong() : 0);
    }
    if (last <= kMaxBarcodeOrder)
        return std::nullopt;
    return QStringLiteral("la lista de %1 llega al orden %2, y el código de barras lleva el orden en 4 "
                          "cifras: una lista puede tener como mucho %3 plazas")
        .arg(name)
        .arg(last)
        .arg(kMaxBarcodeOrder);
}

} // namespace

std::optional<QString> finalPrintListProblem(const RecordSet& vacancies, const RecordSet& resultas) {
    if (std::optional<QString> problem = firstListProblem(vacancies, resultas))
        return problem;
    if (std::optional<QString> problem = tooLongForTheBarcode(vacancies, QStringLiteral("plazas vacantes")))
        return problem;
    return tooLongForTheBarcode(resultas, QStringLiteral("plazas de resultas"));
}

QString finalPrintRefusal(const QString& problem) {
    return QStringLiteral("La solicitud no se puede imprimir como definitiva: %1.\n"
                          "No se ha guardado ni impreso nada. Corrija la lista; mientras tanto puede "
                          "guardar la solicitud con «Guardar» o imprimir un borrador.")
        .arg(problem);
}

} // namespace velmora
