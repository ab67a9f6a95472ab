#include "printing/BarcodeOverflow.h"

#include "applications/ApplicationColumns.h"
#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace velmora {
namespace {

struct RecordField {
    ControlName control;
    const char* label;
    bool code; // a drop-down whose code goes into the record
};

// The print record's free fields, in record order (letters and dates have a fixed length).
constexpr RecordField kRecordFields[] = {
    {ctl::txtApellido1, "Primer apellido", false},
    {ctl::txtApellido2, "Segundo apellido", false},
    {ctl::txtNombre, "Nombre", false},
    {ctl::txtDNI, "DNI", false},
    {ctl::txtTelefono, "Teléfono", false},
    {ctl::txtDNIConyuge, "DNI del cónyuge", false},
    {ctl::txtConyuApellido1, "Primer apellido del cónyuge", false},
    {ctl::txtCOnyuApellido2, "Segundo apellido del cónyuge", false},
    {ctl::txtConyuNombre, "Nombre del cónyuge", false},
    {ctl::txtTipoDisc, "Tipo de discapacidad", false},
    {ctl::txtAdaptaciones, "Adaptaciones precisas", false},
    {ctl::txtDomicilio, "Domicilio", false},
    {ctl::txtLocalidad, "Localidad", false},
    {ctl::cboProvincia, "Provincia", true},
    {ctl::txtCP, "Código postal", false},
    {ctl::cboCuerpo, "Cuerpo o categoría", true},
    {ctl::cboGrupo, "Grupo", true},
    {ctl::txtNRP, "Número de registro personal", false},
    {ctl::txtSitAdm, "Situación administrativa", false},
    {ctl::txtSS, "Otro servicio de salud", false},
    {ctl::cboPrefLocalidad, "Localidad de preferencia", true},
    {ctl::cboPrefProvincia, "Zona básica de salud de preferencia", true},
    {ctl::cboPrefArea, "Área de preferencia", true},
    {ctl::txtPuesto, "Institución del puesto actual", false},
    {ctl::txtLocalidadPuesto, "Localidad del puesto actual", false},
    {ctl::txtProvinciaPuesto, "Provincia del puesto actual", false},
};

constexpr qsizetype kUsualCodeLength = 5;

QString characters(qsizetype length) {
    return length == 1 ? QStringLiteral("1 carácter") : QStringLiteral("%1 caracteres").arg(length);
}

// "a", "a y b", "a, b y c".
QString spanishList(const QStringList& items) {
    if (items.size() <= 1)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" y ") + items.last();
}

QString listName(BarcodeKind kind) {
    return kind == BarcodeKind::Resultas ? QStringLiteral("plazas de resultas")
                                         : QStringLiteral("plazas vacantes");
}

} // namespace

QStringList longestPrintRecordFields(const ApplicationModel& model, int count) {
    std::vector<std::pair<qsizetype, QString>> fields;
    for (const RecordField& f : kRecordFields) {
        const qsizetype length = f.code ? model.value(f.control).size() : model.text(f.control).size();
        if (length > 0)
            fields.emplace_back(length, QString::fromUtf8(f.label));
    }
    std::stable_sort(fields.begin(), fields.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList out;
    for (size_t i = 0; i < fields.size() && int(i) < count; ++i)
        out << QStringLiteral("%1 (%2)").arg(fields[i].second, characters(fields[i].first));
    return out;
}

QString firstPageBarcodeTooLong(const ApplicationModel& model) {
    QString text =
        QStringLiteral("Los datos de la solicitud son demasiado largos para el código de barras de la "
                       "primera página, así que la solicitud no se ha impreso.");
    const QStringList longest = longestPrintRecordFields(model);
    if (!longest.isEmpty())
        text += (longest.size() == 1 ? QStringLiteral("\nEl campo más largo es: ")
                                     : QStringLiteral("\nLos campos más largos son: ")) +
                spanishList(longest) + QLatin1Char('.');
    return text + QStringLiteral("\nAcorte esos datos y vuelva a imprimir la solicitud.");
}

QString listBarcodeTooLong(BarcodeKind kind, const RecordSet& list) {
    QString text =
        QStringLiteral("Los datos de una página de la lista de %1 son demasiado largos para su código "
                       "de barras, así que la solicitud no se ha impreso.")
            .arg(listName(kind));
    std::vector<std::pair<qsizetype, QString>> codes;
    if (list.isOpen()) {
        std::unique_ptr<RecordSet> rows = list.clone();
        const int order = rows->columnIndex(col::PreferenceList::Orden);
        const int code = rows->columnIndex(col::PreferenceList::CodConvocatoria);
        for (rows->moveFirst(); code >= 0 && !rows->isEOF(); rows->moveNext())
            codes.emplace_back(rows->text(code).size(), order >= 0 ? rows->text(order) : QString());
    }
    std::stable_sort(codes.begin(), codes.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList longest;
    // Codes of the usual five digits are not the problem.
    for (size_t i = 0; i < codes.size() && i < 3 && codes[i].first > kUsualCodeLength; ++i)
        longest << QStringLiteral("el de la preferencia %1 (%2)")
                       .arg(codes[i].second, characters(codes[i].first));
    if (!longest.isEmpty())
        text += QStringLiteral("\nLos códigos de plaza más largos son: ") + spanishList(longest) +
                QLatin1Char('.');
    return text + QStringLiteral("\nRevise esas plazas y vuelva a imprimir la solicitud.");
}

} // namespace velmora
