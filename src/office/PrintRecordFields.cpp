#include "office/PrintRecordFields.h"

#include "office/Unfolding.h"

#include <QDate>

namespace velmora {

const std::array<QString, kPrintRecordFieldCount>& printRecordFieldNames() {
    static const std::array<QString, kPrintRecordFieldCount> names = {
        QStringLiteral("Forzoso"),
        QStringLiteral("Apellido1"),
        QStringLiteral("Apellido2"),
        QStringLiteral("Nombre"),
        QStringLiteral("DNI"),
        QStringLiteral("FechaNacimiento"),
        QStringLiteral("Telefono"),
        QStringLiteral("PeticionConyuge"),
        QStringLiteral("DNIConyuge"),
        QStringLiteral("ConyugeApellido1"),
        QStringLiteral("ConyugeApellido2"),
        QStringLiteral("ConyugeNombre"),
        QStringLiteral("Discapacidad"),
        QStringLiteral("TipoDiscapacidad"),
        QStringLiteral("Adaptaciones"),
        QStringLiteral("Domicilio"),
        QStringLiteral("Localidad"),
        QStringLiteral("Provincia"),
        QStringLiteral("CodigoPostal"),
        QStringLiteral("Cuerpo"),
        QStringLiteral("Grupo"),
        QStringLiteral("NRP"),
        QStringLiteral("FechaIngreso"),
        QStringLiteral("TipoSituacion"),
        QStringLiteral("SituacionAdministrativa"),
        QStringLiteral("FechaSituacion"),
        QStringLiteral("ServicioSaludPuesto"),
        QStringLiteral("OtroServicioSalud"),
        QStringLiteral("NaturalezaPuesto"),
        QStringLiteral("PrefLocalidad"),
        QStringLiteral("PrefZona"),
        QStringLiteral("PrefArea"),
        QStringLiteral("Reingreso"),
        QStringLiteral("FechaPosesion"),
        QStringLiteral("PuestoActual"),
        QStringLiteral("LocalidadPuesto"),
        QStringLiteral("ProvinciaPuesto"),
    };
    return names;
}

bool isPrintRecordDateField(int position) {
    return position == 6 || position == 23 || position == 26 || position == 34;
}

QString printRecordDateText(const QString& recordDate) {
    if (recordDate == QLatin1String("00000000"))
        return QString();
    const QDate date = QDate::fromString(recordDate, QStringLiteral("yyyyMMdd"));
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : recordDate;
}

QStringList splitPrintRecord(const QString& record, int* pieces) {
    QStringList fields = record.split(QLatin1Char('|'));
    // Every field ends with "|": what follows the last one is not a field.
    if (!fields.isEmpty() && fields.back().isEmpty() && record.endsWith(QLatin1Char('|')))
        fields.removeLast();
    if (pieces)
        *pieces = int(fields.size());
    // Joined in one go: taking the extra pieces one at a time costs the square of their number.
    if (fields.size() > kPrintRecordFieldCount) {
        fields[kPrintRecordFieldCount - 1] = fields.mid(kPrintRecordFieldCount - 1).join(QLatin1Char('|'));
        fields.resize(kPrintRecordFieldCount);
    }
    while (fields.size() < kPrintRecordFieldCount)
        fields << QString();
    return fields;
}

QStringList readablePrintRecord(const QStringList& foldedFields) {
    QStringList fields;
    for (qsizetype i = 0; i < foldedFields.size(); ++i)
        fields << (isPrintRecordDateField(int(i) + 1) ? printRecordDateText(foldedFields[i])
                                                      : unfoldBarcodeText(foldedFields[i]));
    return fields;
}

} // namespace velmora
