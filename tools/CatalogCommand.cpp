#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/ContestConfiguration.h"
#include "app/LoadingSequence.h"
#include "app/SampleInstallation.h"
#include "catalog/CatalogColumns.h"
#include "catalog/CatalogDecoder.h"
#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "platform/AppFolders.h"
#include "platform/CannotFail.h"
#include "platform/MessageService.h"
#include "platform/Progress.h"
#include "platform/data/AtomicFile.h"

#include <QFile>
#include <QSet>

#include <utility>

namespace velmora::tools {
namespace {

// The tables by the names the office uses on the command line, in loading order.
std::vector<std::pair<QString, RecordSet*>> namedTables(CatalogTables& t) {
    return {{QStringLiteral("bodies"), &t.bodies},
            {QStringLiteral("groups"), &t.groups},
            {QStringLiteral("provinces"), &t.provinces},
            {QStringLiteral("address-provinces"), &t.addressProvinces},
            {QStringLiteral("localities"), &t.localities},
            {QStringLiteral("localities2"), &t.localities2},
            {QStringLiteral("localities3"), &t.localities3},
            {QStringLiteral("departments"), &t.departments},
            {QStringLiteral("departments2"), &t.departments2},
            {QStringLiteral("areas"), &t.areas},
            {QStringLiteral("areas2"), &t.areas2},
            {QStringLiteral("zones"), &t.zones},
            {QStringLiteral("zones2"), &t.zones2},
            {QStringLiteral("situations"), &t.situations},
            {QStringLiteral("institutions"), &t.institutions},
            {QStringLiteral("vacancy-details"), &t.vacancyDetails},
            {QStringLiteral("resultas-details"), &t.resultasDetails},
            {QStringLiteral("position-body"), &t.positionBody},
            {QStringLiteral("position-group"), &t.positionGroup},
            {QStringLiteral("vacant-positions"), &t.vacantPositions},
            {QStringLiteral("resultas-positions"), &t.resultasPositions}};
}

QString csvField(const QString& value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void printCsv(RecordSet& table) {
    QStringList header;
    for (const QString& name : table.columnNames())
        header << csvField(name);
    printOut(header.join(QLatin1Char(',')));
    const int restoreTo = table.absolutePosition();
    for (table.moveFirst(); !table.isEOF(); table.moveNext()) {
        QStringList fields;
        for (int c = 0; c < table.columnCount(); ++c)
            fields << csvField(table.text(c));
        printOut(fields.join(QLatin1Char(',')));
    }
    table.setAbsolutePosition(restoreTo);
}

LoadingOutcome loadInstallation(const QString& dir, CatalogTables& tables, MessageService& messages) {
    LoadingOutcome outcome = velmora::loadInstallation(AppFolders::at(dir), tables);
    messages.tell(outcome.notice);
    return outcome;
}

QSet<QString> codesOf(RecordSet& table, ColumnName column) {
    QSet<QString> codes;
    const QString saved = table.filter();
    table.clearFilter();
    const int index = table.columnIndex(column);
    const int rows = table.recordCount();
    codes.reserve(rows);
    for (int row = 0; row < rows; ++row)
        codes.insert(table.textAt(row, index));
    cannotFail(table.setFilter(saved)); // the filter the table held a moment ago
    return codes;
}

// How many bodies and groups have positions to offer: an entry of the lookups, out of all
// the bodies and groups of the catalogues.
void printLookupCounts(const CatalogTables& t) {
    const auto filledBodies = std::count_if(t.bodyPositions.begin(), t.bodyPositions.end(),
                                            [](const BodyPositions& e) { return !e.isEmpty(); });
    printOut(QStringLiteral("body-positions %1 of %2").arg(filledBodies).arg(t.bodyPositions.size()));
    const std::unique_ptr<RecordSet> groups = t.groups.clone();
    int withEntry = 0;
    for (groups->moveFirst(); !groups->isEOF(); groups->moveNext())
        if (findGroupPositions(t.groupPositions, groups->text(0)))
            ++withEntry;
    printOut(QStringLiteral("group-positions %1 of %2").arg(withEntry).arg(groups->recordCount()));
}

void printWarnings(CatalogTables& t) {
    const QSet<QString> vacancyDetails = codesOf(t.vacancyDetails, col::Positions::CodConvocatoria);
    const QSet<QString> resultasDetails = codesOf(t.resultasDetails, col::Positions::CodConvocatoria);
    auto missingOffered = [&](RecordSet& offered, const QSet<QString>& details, const QString& what) {
        QStringList missing;
        for (const QString& code : codesOf(offered, col::Positions::CodConvocatoria))
            if (!details.contains(code))
                missing << code;
        missing.sort();
        if (!missing.isEmpty())
            printOut(
                QStringLiteral("aviso: %1 códigos ofertados como %2 no figuran en el detalle de plazas: %3")
                    .arg(missing.size())
                    .arg(what, missing.join(QLatin1Char(' '))));
    };
    missingOffered(t.vacantPositions, vacancyDetails, QStringLiteral("vacantes"));
    missingOffered(t.resultasPositions, resultasDetails, QStringLiteral("resultas"));

    const QSet<QString> linkedBodies = codesOf(t.positionBody, col::PositionBody::CodCuerpo);
    QStringList idle;
    for (t.bodies.moveFirst(); !t.bodies.isEOF(); t.bodies.moveNext())
        if (!linkedBodies.contains(t.bodies.text(col::Bodies::CodCuerpo)))
            idle << t.bodies.text(col::Bodies::CodCuerpo);
    if (!idle.isEmpty())
        printOut(QStringLiteral("aviso: %1 cuerpos sin ninguna plaza: %2")
                     .arg(idle.size())
                     .arg(idle.join(QLatin1Char(' '))));

    auto unknownLinks = [&](RecordSet& links, ColumnName codeColumn, const QString& what) {
        QStringList unknown;
        for (const QString& code : codesOf(links, codeColumn))
            if (!vacancyDetails.contains(code) && !resultasDetails.contains(code))
                unknown << code;
        unknown.sort();
        if (!unknown.isEmpty())
            printOut(
                QStringLiteral("aviso: %1 plazas de la relación %2 no existen en el detalle de plazas: %3")
                    .arg(unknown.size())
                    .arg(what, unknown.join(QLatin1Char(' '))));
    };
    unknownLinks(t.positionBody, col::PositionBody::CodPlaza, QStringLiteral("plaza-cuerpo"));
    unknownLinks(t.positionGroup, col::PositionGroup::CodPlaza, QStringLiteral("plaza-grupo"));

    // Links to bodies or groups that the catalogue lacks: a catalogue cut at the end of a
    // record reads as a whole one, and only what names its lost records tells.
    auto unknownOwners = [&](RecordSet& links, ColumnName column, RecordSet& owners, ColumnName ownerColumn,
                             const QString& what, const QString& relation) {
        const QSet<QString> known = codesOf(owners, ownerColumn);
        QStringList unknown;
        for (const QString& code : codesOf(links, column))
            if (!known.contains(code))
                unknown << code;
        unknown.sort();
        if (!unknown.isEmpty())
            printOut(QStringLiteral("aviso: %1 %2 de la relación %3 no están en el catálogo: %4")
                         .arg(unknown.size())
                         .arg(what, relation, unknown.join(QLatin1Char(' '))));
    };
    unknownOwners(t.positionBody, col::PositionBody::CodCuerpo, t.bodies, col::Bodies::CodCuerpo,
                  QStringLiteral("cuerpos"), QStringLiteral("plaza-cuerpo"));
    unknownOwners(t.positionGroup, col::PositionGroup::CodGrupo, t.groups, col::Groups::Grupo,
                  QStringLiteral("grupos"), QStringLiteral("plaza-grupo"));
}

const QString kCheckUsage = QStringLiteral("catalog check CARPETA [--dump TABLA]");
const QString kCandidatesUsage = QStringLiteral(
    "catalog candidates CARPETA (--body CÓDIGO [--details] | --group CÓDIGO) --list vacancy|resultas");
const QString kUsage = kCheckUsage + QStringLiteral(" | ") + kCandidatesUsage +
                       QStringLiteral(" | catalog encode|decode ENTRADA SALIDA");
const QString kSampleUsage =
    QStringLiteral("sample-install CARPETA [--scale small|realistic|large] [--seed N]");

int check(const QStringList& args) {
    ToolArguments parsed(kCheckUsage,
                         {{QStringLiteral("dump"),
                           QStringLiteral("Escribe sólo esa tabla, en CSV UTF-8 (bodies, groups, "
                                          "localities...)."),
                           QStringLiteral("TABLA")}});
    if (!parsed.parse(args, 1, 1))
        return parsed.exitCode();
    const QStringList& positional = parsed.positional();
    ConsoleMessageService messages;
    CatalogTables tables;
    const LoadingOutcome outcome = loadInstallation(positional.first(), tables, messages);
    const bool loaded = outcome.loaded;
    const QString dump = parsed.value(QStringLiteral("dump"));
    if (!dump.isEmpty()) {
        for (auto& [name, table] : namedTables(tables)) {
            if (name == dump) {
                printCsv(*table);
                return loaded ? 0 : 1;
            }
        }
        printErr(QStringLiteral("Tabla desconocida: %1").arg(dump));
        return 2;
    }
    for (auto& [name, table] : namedTables(tables))
        printOut(QStringLiteral("%1 %2").arg(name).arg(table->recordCount()));
    printLookupCounts(tables);
    if (!loaded) {
        printErr(QStringLiteral("La carga del concurso ha fallado."));
        return 1;
    }
    for (const QString& warning : outcome.catalogueWarnings)
        printOut(QStringLiteral("aviso: ") + warning);
    printWarnings(tables);
    if (const auto config = ContestConfiguration::read(AppFolders::at(positional.first()).program);
        config.ok())
        if (const QString warning = config->positionsPerPageSetting().warning; !warning.isEmpty())
            printOut(QStringLiteral("aviso: ") + warning);
    return 0;
}

int candidates(const QStringList& args) {
    ToolArguments parsed(
        kCandidatesUsage,
        {{QStringLiteral("body"), QStringLiteral("Plazas de este cuerpo o escala."),
          QStringLiteral("CÓDIGO")},
         {QStringLiteral("details"), QStringLiteral("Con --body: las columnas de detalle de cada plaza.")},
         {QStringLiteral("group"), QStringLiteral("Plazas de este grupo."), QStringLiteral("CÓDIGO")},
         {QStringLiteral("list"), QStringLiteral("Lista: vacancy (vacantes) o resultas."),
          QStringLiteral("vacancy|resultas")}});
    if (!parsed.parse(args, 1, 1))
        return parsed.exitCode();
    const QStringList& positional = parsed.positional();
    const QString body = parsed.value(QStringLiteral("body"));
    const QString group = parsed.value(QStringLiteral("group"));
    const QString list = parsed.value(QStringLiteral("list"));
    if (body.isEmpty() == group.isEmpty())
        return parsed.usageError(
            QStringLiteral("Indique un cuerpo (--body) o un grupo (--group), uno solo."));
    if (list != QLatin1String("vacancy") && list != QLatin1String("resultas"))
        return parsed.usageError(QStringLiteral("La lista (--list) es vacancy o resultas."));
    ConsoleMessageService messages;
    CatalogTables tables;
    if (!loadInstallation(positional.first(), tables, messages).loaded)
        return 1;
    RecordSet* table = nullptr;
    if (!body.isEmpty()) {
        const BodyPositions* entry =
            findBodyPositions(tables.bodyPositions, body, !parsed.isSet(QStringLiteral("details")));
        if (!entry) {
            printErr(QStringLiteral("El cuerpo %1 no tiene plazas que solicitar.").arg(body));
            return 1;
        }
        table = list == QLatin1String("vacancy") ? entry->vacancy.get() : entry->resultas.get();
    } else {
        const GroupPositions* entry = findGroupPositions(tables.groupPositions, group);
        if (!entry) {
            printErr(QStringLiteral("El grupo %1 no tiene plazas que solicitar.").arg(group));
            return 1;
        }
        table = list == QLatin1String("vacancy") ? entry->vacancy.get() : entry->resultas.get();
    }
    printCsv(*table);
    return 0;
}

// Shifts every line of a file, keeping its lines; decoding drops empty lines as the program does.
int transform(const QStringList& arguments, bool encode) {
    ToolArguments parsed(QStringLiteral("catalog %1 ENTRADA SALIDA")
                             .arg(encode ? QStringLiteral("encode") : QStringLiteral("decode")),
                         {});
    if (!parsed.parse(arguments, 2, 2))
        return parsed.exitCode();
    const QStringList& args = parsed.positional();
    QFile input(args[0]);
    if (!input.open(QIODevice::ReadOnly)) {
        printErr(QStringLiteral("No se puede leer %1").arg(args[0]));
        return 1;
    }
    QByteArray out;
    int lineNumber = 0;
    const QByteArray bytes = input.readAll();
    for (const QByteArrayView line : splitLines(bytes)) {
        ++lineNumber;
        if (line.isEmpty())
            continue;
        auto shifted = encode ? EncodeLine(line) : DecodeLine(line, kDecodingOffset);
        if (!shifted) {
            printErr(QStringLiteral("Línea %1: %2").arg(lineNumber).arg(shifted.error().description));
            return 1;
        }
        out += *shifted;
        out += "\r\n";
    }
    const Status written = writeFileAtomically(args[1], out);
    if (!written) {
        printErr(written.error().description);
        return 1;
    }
    return 0;
}

int catalog(const QStringList& args) {
    const QString verb = args.value(0);
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("check"))
        return check(rest);
    if (verb == QLatin1String("candidates"))
        return candidates(rest);
    if (verb == QLatin1String("encode"))
        return transform(rest, true);
    if (verb == QLatin1String("decode"))
        return transform(rest, false);
    return ToolArguments(kUsage, {}).usageError();
}

int sampleInstall(const QStringList& args) {
    ToolArguments parsed(
        kSampleUsage,
        {{QStringLiteral("scale"), QStringLiteral("Tamaño del concurso (por omisión, realistic)."),
          QStringLiteral("small|realistic|large")},
         {QStringLiteral("seed"),
          QStringLiteral("Semilla: la misma semilla escribe el mismo concurso (por omisión, 1)."),
          QStringLiteral("N")}});
    if (!parsed.parse(args, 1, 1))
        return parsed.exitCode();
    const QStringList& positional = parsed.positional();
    SampleScale scale = SampleScale::Realistic;
    bool seedOk = true;
    const quint32 seed = parsed.value(QStringLiteral("seed"), QStringLiteral("1")).toUInt(&seedOk);
    if (!seedOk)
        return parsed.usageError(QStringLiteral("La semilla (--seed) es un número entero no negativo."));
    if (!parseSampleScale(parsed.value(QStringLiteral("scale"), QStringLiteral("realistic")), scale))
        return parsed.usageError(QStringLiteral("El tamaño (--scale) es small, realistic o large."));
    const Status written = writeSampleInstallation(positional.first(), scale, seed);
    if (!written) {
        printErr(written.error().description);
        return 1;
    }
    printOut(QStringLiteral("Instalación de ejemplo escrita en %1").arg(positional.first()));
    return 0;
}

const ToolCommand
    catalogCommand("catalog", kUsage,
                   QStringLiteral("Comprueba los catálogos de una instalación, lista las plazas "
                                  "de un cuerpo o grupo, cifra y descifra catálogos."),
                   catalog, ToolNeeds::TextOnly);
const ToolCommand sampleCommand("sample-install", kSampleUsage,
                                QStringLiteral("Escribe una instalación con un concurso de ejemplo."),
                                sampleInstall);

} // namespace
} // namespace velmora::tools
