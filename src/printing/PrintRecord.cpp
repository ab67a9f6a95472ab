#include "printing/PrintRecord.h"

#include "editor/ApplicationModel.h"
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
    const auto add = [&record](const QString& field) {
        record += field;
        record += QLatin1Char('|');
    };
    const auto text = [&model](QStringView name) { return model.text(name); };
    const auto code = [&model](QStringView name) { return model.value(name); };
    const auto date = [&model](QStringView name) { return printRecordDate(model.text(name)); };
    const auto flag = [&model](QStringView name, const char* yes, const char* no) {
        return QString::fromLatin1(model.isSelected(name) ? yes : no);
    };

    const bool active = model.isSelected(u"optActivo");
    const bool noPost = model.isSelected(u"OptNo");

    add(flag(u"optForzoso", "S", "N"));
    add(text(u"txtApellido1"));
    add(text(u"txtApellido2"));
    add(text(u"txtNombre"));
    add(text(u"txtDNI"));
    add(date(u"txtFecNacimiento"));
    add(text(u"txtTelefono"));
    add(flag(u"optPetConyugeSi", "S", "N"));
    add(text(u"txtDNIConyuge"));
    add(text(u"txtConyuApellido1"));
    add(text(u"txtCOnyuApellido2"));
    add(text(u"txtConyuNombre"));
    add(flag(u"optDiscSi", "S", "N"));
    add(text(u"txtTipoDisc"));
    add(text(u"txtAdaptaciones"));
    add(text(u"txtDomicilio"));
    add(text(u"txtLocalidad"));
    add(code(u"cboProvincia"));
    add(text(u"txtCP"));
    add(code(u"cboCuerpo"));
    add(code(u"cboGrupo"));
    add(text(u"txtNRP"));
    add(date(u"txtFechaIngreso"));
    add(active ? QStringLiteral("A") : QStringLiteral("O"));
    if (active)
        add(QString());
    else if (isOtherSituation(situations, code(u"cboSituaciones")))
        add(text(u"txtSitAdm"));
    else
        add(text(u"cboSituaciones"));
    add(date(u"txtFechaSit"));
    add(noPost ? QString() : flag(u"optSSTarvo", "S", "O"));
    add(text(u"txtSS"));
    add(noPost ? QString() : flag(u"optDefinitivo", "D", "P"));
    add(code(u"cboPrefLocalidad"));
    add(code(u"cboPrefProvincia"));
    add(code(u"cboPrefArea"));
    add(flag(u"optReingesoSi", "S", "N"));
    add(date(u"txtFecPosesion"));
    add(text(u"txtPuesto"));
    add(text(u"txtLocalidadPuesto"));
    add(text(u"txtProvinciaPuesto"));
    return record;
}

} // namespace velmora
