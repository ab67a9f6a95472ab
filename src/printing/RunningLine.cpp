#include "printing/RunningLine.h"

#include "editor/ApplicationModel.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/Document.h"

#include <QStringList>

namespace velmora {

using namespace docengine;

namespace {

// Long catalogue names and names would take the line onto a second and third line.
constexpr int kLongestPart = 60;

QString shortened(const QString& text) {
    const QString simple = text.simplified();
    if (simple.size() <= kLongestPart)
        return simple;
    return simple.left(kLongestPart - 1).trimmed() + QChar(0x2026);
}

RunFormat lineFont() {
    return RunFormat{.font = QStringLiteral("Arial"), .size = 7};
}

} // namespace

QString runningLineText(const ApplicationModel& model) {
    const QString surnames =
        QStringList{model.text(ctl::txtApellido1).simplified(), model.text(ctl::txtApellido2).simplified()}
            .join(QLatin1Char(' '))
            .trimmed();
    const QString name = model.text(ctl::txtNombre).simplified();
    QString person = surnames;
    if (!name.isEmpty())
        person += (person.isEmpty() ? QString() : QStringLiteral(", ")) + name;
    QStringList parts;
    parts << QStringLiteral("NIF: ") + model.text(ctl::txtDNI).trimmed();
    parts << shortened(person);
    parts << QStringLiteral("Categoría: ") + shortened(model.text(ctl::cboCuerpo));
    parts << QStringLiteral("Grupo: ") + shortened(model.text(ctl::cboGrupo));
    return parts.join(QStringLiteral("  ·  "));
}

void writeRunningLine(Document& document, const ApplicationModel& model) {
    Cursor at = document.footerCursor();
    if (!at.isValid())
        return;
    at.setAlignment(Alignment::Center);
    at.insertText(runningLineText(model) + QStringLiteral("  ·  Página "), lineFont());
    at.setFont(lineFont()).insertPageNumber();
    at.insertText(QStringLiteral(" de "), lineFont());
    at.setFont(lineFont()).insertPageCount();
}

} // namespace velmora
