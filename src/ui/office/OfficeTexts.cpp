#include "ui/office/OfficeTexts.h"

#include "office/PrintRecordFields.h"

namespace velmora {

QString officeWindowTitle() {
    return QStringLiteral("Velmora - Oficina");
}

QString applicantName(const OfficeApplication& application) {
    auto field = [&](int position) {
        return position <= application.fields.size() ? application.fields.at(position - 1).trimmed()
                                                     : QString();
    };
    const QString surnames =
        (field(record::Surname1) + QLatin1Char(' ') + field(record::Surname1 + 1)).trimmed();
    const QString name = field(record::Name);
    if (surnames.isEmpty() || name.isEmpty())
        return surnames + name;
    return surnames + QStringLiteral(", ") + name;
}

QString officeSummaryText(const OfficeReadOutcome& outcome) {
    const auto counted = [](int n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
    };
    const int read = int(outcome.applications.size());
    const int complete = outcome.completeApplications();
    QString text =
        QStringLiteral("%1: %2, %3 con incidencias. %4 de %5, %6 sin código de barras.")
            .arg(counted(read, "solicitud leída", "solicitudes leídas"),
                 counted(complete, "completa", "completas"), QString::number(read - complete),
                 counted(outcome.pages, "página", "páginas"), counted(outcome.files, "fichero", "ficheros"),
                 QString::number(outcome.pagesWithoutBarcode));
    if (outcome.cancelled)
        text += QStringLiteral(" Lectura cancelada: faltan páginas por leer.");
    return text;
}

QString officeProgressText(int done, int total) {
    return QStringLiteral("Página %1 de %2").arg(done).arg(total);
}

} // namespace velmora
