#include "printing/PrintRecord.h"

#include "editor/ApplicationModel.h"
#include "editor/FieldSeparator.h"
#include "editor/FirstTabRules.h"

#include <QDate>
#include <QRegularExpression>

namespace velmora {

QString printRecordDate(const QString& text) {
    // The date fields hold "DD/MM/YYYY"; a loaded document may bring days and months
    // of one digit or other separators.
    static const QRegularExpression dayFirst(
        QStringLiteral(R"(^\s*(\d{1,2})[/.-](\d{1,2})[/.-](\d{4})\s*$)"));
    static const QRegularExpression yearFirst(
        QStringLiteral(R"(^\s*(\d{4})[/.-](\d{1,2})[/.-](\d{1,2})\s*$)"));
    QDate date;
    if (const auto m = dayFirst.match(text); m.hasMatch())
        date = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    else if (const auto m2 = yearFirst.match(text); m2.hasMatch())
        date = QDate(m2.captured(1).toInt(), m2.captured(2).toInt(), m2.captured(3).toInt());
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("00000000");
}

QString GeneraCadenaImpresion(const ApplicationModel& model, const RecordSet& situations) {
    QString record;
    // Whatever a field holds (a text loaded from an older file, a catalogue's name), it
    // stays one field.
    const auto add = [&record](const QString& field) {
        record += withoutRecordSeparator(field);
        record += kRecordSeparator;
    };
    const auto text = [&model](ControlName name) { return model.text(name); };
    const auto code = [&model](ControlName name) { return model.value(name); };
    const auto date = [&model](ControlName name) { return printRecordDate(model.text(name)); };
    const auto flag = [&model](ControlName name, const char* yes, const char* no) {
        return QString::fromLatin1(model.isSelected(name) ? yes : no);
    };

    const bool active = model.isSelected(ctl::optActivo);
    const bool noPost = model.isSelected(ctl::OptNo);

    add(flag(ctl::optForzoso, "S", "N"));
    add(text(ctl::txtApellido1));
    add(text(ctl::txtApellido2));
    add(text(ctl::txtNombre));
    add(text(ctl::txtDNI));
    add(date(ctl::txtFecNacimiento));
    add(text(ctl::txtTelefono));
    add(flag(ctl::optPetConyugeSi, "S", "N"));
    add(text(ctl::txtDNIConyuge));
    add(text(ctl::txtConyuApellido1));
    add(text(ctl::txtCOnyuApellido2));
    add(text(ctl::txtConyuNombre));
    add(flag(ctl::optDiscSi, "S", "N"));
    add(text(ctl::txtTipoDisc));
    add(text(ctl::txtAdaptaciones));
    add(text(ctl::txtDomicilio));
    add(text(ctl::txtLocalidad));
    add(code(ctl::cboProvincia));
    add(text(ctl::txtCP));
    add(code(ctl::cboCuerpo));
    add(code(ctl::cboGrupo));
    add(text(ctl::txtNRP));
    add(date(ctl::txtFechaIngreso));
    add(active ? QStringLiteral("A") : QStringLiteral("O"));
    if (active)
        add(QString());
    else if (isOtherSituation(situations, code(ctl::cboSituaciones)))
        add(text(ctl::txtSitAdm));
    else
        add(text(ctl::cboSituaciones));
    add(date(ctl::txtFechaSit));
    add(noPost ? QString() : flag(ctl::optSSTarvo, "S", "O"));
    add(text(ctl::txtSS));
    add(noPost ? QString() : flag(ctl::optDefinitivo, "D", "P"));
    add(code(ctl::cboPrefLocalidad));
    add(code(ctl::cboPrefProvincia));
    add(code(ctl::cboPrefArea));
    add(flag(ctl::optReingesoSi, "S", "N"));
    add(date(ctl::txtFecPosesion));
    add(text(ctl::txtPuesto));
    add(text(ctl::txtLocalidadPuesto));
    add(text(ctl::txtProvinciaPuesto));
    return record;
}

} // namespace velmora
