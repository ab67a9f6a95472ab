#include "applications/ApplicationXml.h"

#include "applications/ApplicationColumns.h"
#include "platform/ProgramTitle.h"
#include "platform/data/AtomicFile.h"
#include "platform/data/RecordSet.h"
#include "platform/data/XmlFile.h"
#include "platform/data/XmlPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <vector>

namespace velmora {
namespace {

const char* const kDeclaration = R"(<?xml version="1.0" encoding="iso-8859-1"?>)";

// A list as the saved file holds it: each row an element named after its columns, in
// the file's own order of columns.
struct ListLayout {
    const char* list;  // element holding the entries
    const char* entry; // element of one row
    std::vector<ColumnName> columns;
    // Columns whose "&" is written as a blank.
    std::vector<ColumnName> ampersandAsBlank;
};

namespace pl = col::PreferenceList;
const ListLayout kVacancies{"Vacantes",
                            "Plaza",
                            {pl::CodConvocatoria, pl::NomConvocatoria, pl::Orden, pl::Localidad,
                             pl::Consejeria, pl::IdSolicitud, pl::CodArea, pl::CodZona, pl::Demarcacion,
                             pl::Area, pl::Zona},
                            {}};
const ListLayout kResultas{"Resultas", "Plaza", kVacancies.columns, {}};
const ListLayout kCourses{"Cursos",
                          "CursoRealizado",
                          {col::Courses::Curso, col::Courses::NHoras, col::Courses::Ano, col::Courses::Centro,
                           col::Courses::IdCurso},
                          {col::Courses::Curso, col::Courses::Centro}};
const ListLayout kDocuments{"Documentos",
                            "Doc",
                            {col::Documents::Documento, col::Documents::IdDocumento, col::Documents::Horas,
                             col::Documents::Fecha, col::Documents::Centro},
                            {col::Documents::Documento}};

void appendReference(QString& out, char32_t codePoint) {
    out += QStringLiteral("&#") + QString::number(quint32(codePoint)) + QLatin1Char(';');
}

// Element content in pure Latin-1 that any XML reader gives back as `value`.
void appendEscaped(QString& out, QStringView value) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < value.size() &&
            QChar::isLowSurrogate(value[i + 1].unicode())) {
            appendReference(out, QChar::surrogateToUcs4(c, value[i + 1].unicode()));
            ++i;
        } else if (c == u'&') {
            out += QLatin1String("&amp;");
        } else if (c == u'<') {
            out += QLatin1String("&lt;");
        } else if (c == u'>') {
            out += QLatin1String("&gt;");
        } else if (c == u'\r') {
            appendReference(out, c);
        } else if (c == u'\t' || c == u'\n' || (c >= 0x20 && c < 0x80) || (c >= 0xA0 && c <= 0xFF)) {
            out += QChar(c);
        } else if (c < 0x20 || QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            out += QLatin1Char('?');
        } else {
            appendReference(out, c);
        }
    }
}

QString cellText(const RecordSet& table, ColumnName column) {
    const int index = table.columnIndex(column);
    if (index < 0)
        return QString();
    const Result<QVariant> value = table.value(index);
    if (!value.ok() || value->isNull())
        return QString();
    if (table.column(index).type == ColumnType::Integer)
        return QString::number(value->toLongLong());
    return value->toString();
}

void appendList(QString& out, RecordSet& table, const ListLayout& layout) {
    const QString entryOpen = QLatin1Char('<') + QLatin1String(layout.entry) + QLatin1Char('>');
    const QString entryClose = QLatin1String("</") + QLatin1String(layout.entry) + QLatin1Char('>');
    out += QLatin1Char('<') + QLatin1String(layout.list) + QLatin1Char('>');
    if (table.isOpen()) {
        const bool onRow = !table.isBOF() && !table.isEOF();
        const qint64 rowId = onRow ? table.currentRowId() : -1;
        if (table.recordCount() > 0)
            table.moveFirst();
        while (!table.isEOF()) {
            out += entryOpen;
            for (const ColumnName column : layout.columns) {
                QString text = cellText(table, column);
                if (std::find(layout.ampersandAsBlank.begin(), layout.ampersandAsBlank.end(), column) !=
                    layout.ampersandAsBlank.end())
                    text.replace(QLatin1Char('&'), QLatin1Char(' '));
                out += QLatin1Char('<');
                out += column.view();
                out += QLatin1Char('>');
                appendEscaped(out, text);
                out += QLatin1String("</");
                out += column.view();
                out += QLatin1Char('>');
            }
            out += entryClose;
            table.moveNext();
        }
        if (onRow)
            table.moveToRowId(rowId);
    }
    out += QLatin1String("</") + QLatin1String(layout.list) + QLatin1Char('>');
}

void writeTrace(const QString& programFolder, QByteArray text) {
#ifdef Q_OS_WIN
    text += "\r\n";
#else
    text += "\n";
#endif
    (void)writeFileAtomically(QDir(programFolder).filePath(QStringLiteral("traza.txt")), text);
}

// --- reading -------------------------------------------------------------------------

// The element's text, all of its descendants' text joined (at any depth: a damaged or
// hostile file must not exhaust the stack).
QString elementText(pugi::xml_node node) {
    std::string out;
    appendTextContent(node, out);
    return QString::fromStdString(out);
}

pugi::xpath_node_set selectAll(const pugi::xml_document& doc, const QString& zeroBasedPath) {
    pugi::xpath_node_set nodes = doc.select_nodes(toXPath(zeroBasedPath).toUtf8().constData());
    nodes.sort();
    return nodes;
}

using Rows = std::vector<std::vector<QVariant>>;

// Reads every entry of a list into rows shaped like `table`, without touching it. The
// entries are the list's children; all of them must be `layout.entry` elements.
Status collectRows(const pugi::xml_document& doc, const ListLayout& layout, const RecordSet& table,
                   Rows& rows) {
    const QString list = QLatin1String(layout.list);
    const QString entry = QLatin1String(layout.entry);
    if (!table.isOpen())
        return Error::make(ErrorCode::ObjectClosed,
                           QStringLiteral("La lista de %1 no está abierta").arg(list));

    size_t expected = 0;
    for (const pugi::xpath_node& parent : selectAll(doc, QStringLiteral("//") + list))
        for (pugi::xml_node child : parent.node().children())
            if (child.type() == pugi::node_element)
                ++expected;
    const pugi::xpath_node_set entries = selectAll(doc, QStringLiteral("//%1/%2").arg(list, entry));
    if (entries.size() < expected)
        return Error::make(ErrorCode::ObjectMissing, QStringLiteral("Falta el elemento %1 número %2 de %3")
                                                         .arg(entry)
                                                         .arg(entries.size() + 1)
                                                         .arg(list));

    rows.reserve(entries.size());
    int number = 0;
    for (const pugi::xpath_node& node : entries) {
        ++number;
        std::vector<QVariant> row;
        row.reserve(size_t(table.columnCount()));
        for (int c = 0; c < table.columnCount(); ++c) {
            const ColumnDef& column = table.column(c);
            const pugi::xml_node element = node.node().child(column.name.toUtf8().constData());
            if (!element)
                return Error::make(ErrorCode::ObjectMissing,
                                   QStringLiteral("Falta el elemento %1 en el elemento %2 número %3 de %4")
                                       .arg(column.name, entry)
                                       .arg(number)
                                       .arg(list));
            const QString text = elementText(element);
            if (column.type != ColumnType::Integer) {
                row.emplace_back(text);
                continue;
            }
            const QString digits = text.trimmed();
            if (digits.isEmpty()) {
                row.emplace_back();
                continue;
            }
            bool ok = false;
            const qint64 number64 = digits.toLongLong(&ok);
            if (!ok)
                return Error::make(
                    ErrorCode::TypeMismatch,
                    QStringLiteral("El elemento %1 del elemento %2 número %3 de %4 no es un número "
                                   "entero: \"%5\"")
                        .arg(column.name, entry)
                        .arg(number)
                        .arg(list, text));
            row.emplace_back(number64);
        }
        rows.push_back(std::move(row));
    }
    return Status();
}

Status appendRows(RecordSet& table, const Rows& rows) {
    for (const std::vector<QVariant>& row : rows) {
        VELMORA_TRY(table.addNew());
        for (int c = 0; c < int(row.size()); ++c)
            if (!row[size_t(c)].isNull())
                VELMORA_TRY(table.setValue(c, row[size_t(c)]));
        VELMORA_TRY(table.update());
    }
    return Status();
}

} // namespace

QString buildApplicationXml(ApplicationLists lists, const QString& documentDigest) {
    QString out = QLatin1String(kDeclaration) + QLatin1String("<Plazas");
    if (!documentDigest.isEmpty())
        out += QStringLiteral(" documento=\"") + documentDigest + QLatin1Char('"');
    out += QLatin1Char('>');
    appendList(out, lists.vacancies, kVacancies);
    appendList(out, lists.resultas, kResultas);
    appendList(out, lists.courses, kCourses);
    appendList(out, lists.documents, kDocuments);
    out += QLatin1String("</Plazas>");
    return out;
}

QString documentDigestOf(const QByteArray& documentBytes) {
    return QString::fromLatin1(
        QCryptographicHash::hash(documentBytes, QCryptographicHash::Sha256).toHex().toUpper());
}

QByteArray encodeApplicationXml(const QString& text) {
    return text.toLatin1();
}

namespace {

// Why a file could not be written, in words the user can act on: the writer's own error
// does not tell a full disk from a folder without permission. Empty when neither is the
// cause (the writer's error then says what happened).
QString writeFailureCause(const QString& folder, qint64 size) {
    const QFileInfo info(folder);
    if (!info.isDir())
        return QStringLiteral("no existe la carpeta %1").arg(QDir::toNativeSeparators(folder));
    if (!info.isWritable())
        return QStringLiteral("no hay permiso para escribir en la carpeta %1")
            .arg(QDir::toNativeSeparators(folder));
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < size + 4096)
        return QStringLiteral("no queda espacio libre en el disco");
    return {};
}

} // namespace

Status checkApplicationXml(const QByteArray& bytes, const QString& programFolder) {
    pugi::xml_document check;
    if (check.load_buffer(bytes.constData(), size_t(bytes.size()), pugi::parse_default,
                          pugi::encoding_latin1))
        return {};
    writeTrace(programFolder, bytes);
    return Error::told(ErrorCode::BadXml, QStringLiteral("Formato erróneo de XML"),
                       QStringLiteral("Error de XML"), MessageIcon::Exclamation);
}

Status writeApplicationLists(const QString& fileName, const QString& folder, ApplicationLists lists,
                             const QString& programFolder) {
    const QByteArray bytes = encodeApplicationXml(buildApplicationXml(lists));
    VELMORA_TRY(checkApplicationXml(bytes, programFolder));
    // A text that parses but cannot be written (disk full, no permission) is reported with
    // its real cause; the previous file stays.
    const QString path = QDir(folder).filePath(fileName);
    const Status written = writeFileAtomically(path, bytes);
    if (!written.ok()) {
        const QString cause = writeFailureCause(folder, bytes.size());
        const QString text =
            cause.isEmpty() ? QStringLiteral("No se han podido guardar las listas de la solicitud.\n%1")
                                  .arg(written.error().description)
                            : QStringLiteral("No se han podido guardar las listas de la solicitud en %1: %2.")
                                  .arg(QDir::toNativeSeparators(path), cause);
        return Error::told(written.error().number, text, programTitle());
    }
    return written;
}

namespace {

// Reads the lists file's rows into the tables, all or nothing.
Status readRows(const pugi::xml_document& doc, ApplicationLists lists) {
    Rows vacancies, resultas, courses, documents;
    VELMORA_TRY(collectRows(doc, kVacancies, lists.vacancies, vacancies));
    VELMORA_TRY(collectRows(doc, kResultas, lists.resultas, resultas));
    VELMORA_TRY(collectRows(doc, kCourses, lists.courses, courses));
    VELMORA_TRY(collectRows(doc, kDocuments, lists.documents, documents));

    VELMORA_TRY(appendRows(lists.vacancies, vacancies));
    VELMORA_TRY(appendRows(lists.resultas, resultas));
    VELMORA_TRY(appendRows(lists.courses, courses));
    return appendRows(lists.documents, documents);
}

// Parses the file; on success the rows are still to be read.
ListsFileRead parseListsFile(const QString& path, pugi::xml_document& doc) {
    ListsFileRead read;
    Result<QByteArray> bytes = readFileUpTo(path, kMaxListsFileBytes);
    if (!bytes.ok()) {
        // Only a file that is not there is missing: one that exists and cannot be read still
        // holds the applicant's lists.
        if (bytes.error().number != ErrorCode::FileNotFound) {
            read.state = SidecarRead::Unreadable;
            read.problem = bytes.error().description;
        }
        return read;
    }
    read.bytes = std::move(bytes).value();
    read.state = SidecarRead::Malformed;
    const XmlRead parsed = readXml(read.bytes, doc);
    read.encodingGuessed = parsed.encodingGuessed;
    if (!parsed.result) {
        read.problem = QStringLiteral("no es un fichero XML válido: %1 en la posición %2")
                           .arg(QString::fromUtf8(parsed.result.description()))
                           .arg(parsed.result.offset);
        return read;
    }
    // Another kind of XML file is no application's lists, even when it parses.
    if (std::strcmp(doc.document_element().name(), "Plazas") != 0) {
        read.problem = QStringLiteral("su elemento principal es <%1> y no <Plazas>")
                           .arg(QString::fromUtf8(doc.document_element().name()));
        return read;
    }
    read.documentDigest = QString::fromUtf8(doc.document_element().attribute("documento").value());
    read.state = SidecarRead::Loaded;
    return read;
}

} // namespace

Result<SidecarRead> readApplicationLists(const QString& folder, const QString& fileName,
                                         ApplicationLists lists) {
    pugi::xml_document doc;
    const ListsFileRead read = parseListsFile(QDir(folder).filePath(fileName), doc);
    if (read.state != SidecarRead::Loaded)
        return read.state;
    VELMORA_TRY(readRows(doc, lists));
    return SidecarRead::Loaded;
}

QString listsFileDigest(const QString& path) {
    pugi::xml_document doc;
    return parseListsFile(path, doc).documentDigest;
}

ListsFileRead readListsFile(const QString& path, ApplicationLists lists, const QString& expectedDigest) {
    pugi::xml_document doc;
    ListsFileRead read = parseListsFile(path, doc);
    if (read.state != SidecarRead::Loaded)
        return read;
    if (!read.documentDigest.isEmpty() && !expectedDigest.isEmpty() &&
        read.documentDigest != expectedDigest) {
        read.state = SidecarRead::FromAnotherSave;
        read.problem = QStringLiteral("se guardó con otra versión del documento de la solicitud");
        return read;
    }
    if (const Status rows = readRows(doc, lists); !rows.ok()) {
        read.state = SidecarRead::Malformed;
        read.problem = rows.error().description;
    }
    return read;
}

} // namespace velmora
