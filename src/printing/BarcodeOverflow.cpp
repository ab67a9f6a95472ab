#include "printing/BarcodeOverflow.h"

#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace velmora {
namespace {

struct RecordField {
    const char16_t* control;
    const char* label;
    bool code; // a drop-down whose code goes into the record
};

// The print record's free fields, in record order (letters and dates have a fixed length).
constexpr RecordField kRecordFields[] = {
    {u"txtApellido1", "Primer apellido", false},
    {u"txtApellido2", "Segundo apellido", false},
    {u"txtNombre", "Nombre", false},
    {u"txtDNI", "DNI", false},
    {u"txtTelefono", "Teléfono", false},
    {u"txtDNIConyuge", "DNI del cónyuge", false},
    {u"txtConyuApellido1", "Primer apellido del cónyuge", false},
    {u"txtCOnyuApellido2", "Segundo apellido del cónyuge", false},
    {u"txtConyuNombre", "Nombre del cónyuge", false},
    {u"txtTipoDisc", "Tipo de discapacidad", false},
    {u"txtAdaptaciones", "Adaptaciones precisas", false},
    {u"txtDomicilio", "Domicilio", false},
    {u"txtLocalidad", "Localidad", false},
    {u"cboProvincia", "Provincia", true},
    {u"txtCP", "Código postal", false},
    {u"cboCuerpo", "Cuerpo o categoría", true},
    {u"cboGrupo", "Grupo", true},
    {u"txtNRP", "Número de registro personal", false},
    {u"txtSitAdm", "Situación administrativa", false},
    {u"txtSS", "Otro servicio de salud", false},
    {u"cboPrefLocalidad", "Localidad de preferencia", true},
    {u"cboPrefProvincia", "Zona básica de salud de preferencia", true},
    {u"cboPrefArea", "Área de preferencia", true},
    {u"txtPuesto", "Institución del puesto actual", false},
    {u"txtLocalidadPuesto", "Localidad del puesto actual", false},
    {u"txtProvinciaPuesto", "Provincia del puesto actual", false},
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
        const int order = rows->columnIndex(QStringLiteral("Orden"));
        const int code = rows->columnIndex(QStringLiteral("CodConvocatoria"));
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
