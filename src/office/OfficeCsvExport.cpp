#include "office/OfficeCsvExport.h"

#include "office/PrintRecordFields.h"

#include <QDir>
#include <QSaveFile>

namespace velmora {
namespace {

QString csvField(const QString& field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Status writeLines(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede escribir %1: %2").arg(path, file.errorString()));
    file.write("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        file.write(line.toUtf8());
        file.write("\r\n");
    }
    if (!file.commit())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede escribir %1: %2").arg(path, file.errorString()));
    return {};
}

void addPositions(QStringList& lines, const OfficeApplication& a,
                  const std::vector<RequestedPosition>& rows) {
    for (const RequestedPosition& row : rows)
        lines << csvLine({a.id, QString::number(row.order), row.code});
}

} // namespace

QString csvLine(const QStringList& fields) {
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(','));
}

Status writeOfficeCsv(const OfficeReadOutcome& outcome, const QString& folder) {
    if (!QDir().mkpath(folder))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede crear la carpeta %1").arg(folder));
    const QDir dir(folder);

    QStringList header{QStringLiteral("Solicitud"), QStringLiteral("FechaImpresion"),
                       QStringLiteral("HoraImpresion")};
    for (const QString& name : printRecordFieldNames())
        header << name;
    header << QStringLiteral("Vacantes") << QStringLiteral("Resultas") << QStringLiteral("Estado")
           << QStringLiteral("RegistroPlegado");
    QStringList applications{csvLine(header)};
    QStringList vacancies{
        csvLine({QStringLiteral("Solicitud"), QStringLiteral("Orden"), QStringLiteral("Codigo")})};
    QStringList resultas = vacancies;
    QStringList problems{csvLine(
        {QStringLiteral("Solicitud o página"), QStringLiteral("Incidencia"), QStringLiteral("Detalle")})};

    for (const OfficeApplication& a : outcome.applications) {
        QStringList row{a.id, a.printDate, a.printTime};
        for (int i = 0; i < kPrintRecordFieldCount; ++i)
            row << a.fields.value(i);
        row << QString::number(a.vacancies.size()) << QString::number(a.resultas.size()) << a.status()
            << a.foldedRecord;
        applications << csvLine(row);
        addPositions(vacancies, a, a.vacancies);
        addPositions(resultas, a, a.resultas);
        for (const OfficeProblem& p : a.problems)
            problems << csvLine({p.where, p.problem, p.detail});
    }
    for (const OfficeProblem& p : outcome.fileProblems)
        problems << csvLine({p.where, p.problem, p.detail});
    if (outcome.cancelled)
        problems << csvLine({QString(), QStringLiteral("Lectura interrumpida"),
                             QStringLiteral("se leyeron %1 páginas antes de cancelar").arg(outcome.pages)});

    VELMORA_TRY(writeLines(dir.filePath(QStringLiteral("solicitudes.csv")), applications));
    VELMORA_TRY(writeLines(dir.filePath(QStringLiteral("vacantes.csv")), vacancies));
    VELMORA_TRY(writeLines(dir.filePath(QStringLiteral("resultas.csv")), resultas));
    return writeLines(dir.filePath(QStringLiteral("incidencias.csv")), problems);
}

} // namespace velmora
