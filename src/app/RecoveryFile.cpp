#include "app/RecoveryFile.h"

#include "applications/ApplicationFiles.h"
#include "platform/data/AtomicFile.h"
#include "platform/data/DamagedFileCopy.h"
#include "platform/data/RecordSet.h"
#include "platform/data/XmlFile.h"

#include <QDir>
#include <QFile>

#include <array>
#include <sstream>

namespace velmora {
namespace {

constexpr const char* kRoot = "Recuperacion";
constexpr const char* kTimeFormat = "yyyy-MM-ddTHH:mm:ss";

struct NamedList {
    const char* name;
    RecordSet& table;
};

std::array<NamedList, 4> namedLists(ApplicationLists lists) {
    return {{{"Vacantes", lists.vacancies},
             {"Resultas", lists.resultas},
             {"Cursos", lists.courses},
             {"Documentos", lists.documents}}};
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

void writeControls(pugi::xml_node root, const ApplicationModel& model) {
    for (const FormControl& c : model.controls()) {
        if (c.kind == ControlKind::Frame || c.kind == ControlKind::Label)
            continue;
        pugi::xml_node node = root.append_child("Control");
        node.append_attribute("nombre") = utf8(c.name).c_str();
        node.append_attribute("texto") = utf8(c.text).c_str();
        node.append_attribute("valor") = utf8(c.value).c_str();
        node.append_attribute("marcado") = c.selected;
        node.append_attribute("enLista") = c.inList;
        node.append_attribute("activo") = c.enabled;
    }
}

void writeList(pugi::xml_node root, const char* name, const RecordSet& table) {
    pugi::xml_node list = root.append_child("Lista");
    list.append_attribute("nombre") = name;
    if (!table.isOpen())
        return;
    const std::unique_ptr<RecordSet> rows = table.clone();
    for (int position = 0; position < rows->recordCount(); ++position) {
        pugi::xml_node row = list.append_child("Fila");
        for (int column = 0; column < rows->columnCount(); ++column) {
            pugi::xml_node field = row.append_child("Campo");
            field.append_attribute("nombre") = utf8(rows->column(column).name).c_str();
            field.text() = utf8(rows->textAt(position, column)).c_str();
        }
    }
}

Error unreadable(const QString& path, const QString& why) {
    return Error::make(ErrorCode::BadXml, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why));
}

// Reads every row of one list before any table is touched, so a file damaged half-way
// changes nothing.
using Rows = std::vector<std::vector<std::pair<int, QString>>>;

Result<Rows> readList(const pugi::xml_node& list, const RecordSet& table, const QString& path) {
    Rows rows;
    for (pugi::xml_node row : list.children("Fila")) {
        std::vector<std::pair<int, QString>> fields;
        for (pugi::xml_node field : row.children("Campo")) {
            const int column = table.columnIndex(fromUtf8(field.attribute("nombre").value()));
            if (column < 0)
                return unreadable(path, QStringLiteral("la lista %1 tiene una columna desconocida")
                                            .arg(fromUtf8(list.attribute("nombre").value())));
            const QString text = fromUtf8(field.text().get());
            if (table.column(column).type == ColumnType::Integer) {
                bool number = false;
                (void)text.toLongLong(&number);
                if (!number)
                    return unreadable(path, QStringLiteral("un número de la lista %1 no se puede leer")
                                                .arg(fromUtf8(list.attribute("nombre").value())));
            }
            fields.emplace_back(column, text);
        }
        rows.push_back(std::move(fields));
    }
    return rows;
}

Status replaceRows(RecordSet& table, const Rows& rows) {
    table.clearFilter();
    table.moveFirst();
    while (!table.isEOF()) {
        VELMORA_TRY(table.deleteCurrent());
        table.moveNext(); // a deleted row stays current until the cursor moves
    }
    for (const auto& row : rows) {
        VELMORA_TRY(table.addNew());
        for (const auto& [column, text] : row)
            VELMORA_TRY(table.column(column).type == ColumnType::Integer
                            ? table.setValue(column, text.toLongLong())
                            : table.setText(column, text));
        VELMORA_TRY(table.update());
    }
    return {};
}

} // namespace

RecoveryFile::RecoveryFile(const QString& applicationsFolder, const QString& dni)
    : m_path(QDir(applicationsFolder).filePath(dni + QStringLiteral(".recuperacion"))), m_dni(dni) {}

bool RecoveryFile::exists() const {
    return QFileInfo::exists(m_path) || isLink(m_path);
}

RecoveryFileLock::RecoveryFileLock(const RecoveryFile& file)
    : m_lock(file.path() + QStringLiteral(".bloqueo")) {
    // Held all day: never stale by age, only when the program holding it is gone.
    m_lock.setStaleLockTime(0);
    m_held = m_lock.tryLock(0);
}

Status RecoveryFile::write(const ApplicationModel& model, ApplicationLists lists,
                           const QString& applicationFile, bool identityLocked, const QDateTime& at) const {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = doc.append_child(kRoot);
    root.append_attribute("escrito") = utf8(at.toString(QLatin1String(kTimeFormat))).c_str();
    root.append_attribute("solicitud") = utf8(applicationFile).c_str();
    root.append_attribute("identidadFija") = identityLocked;
    writeControls(root, model);
    for (const NamedList& list : namedLists(lists))
        writeList(root, list.name, list.table);
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    const std::string bytes = out.str();
    return writeFileAtomically(m_path, QByteArray(bytes.data(), qsizetype(bytes.size())));
}

namespace {

Status loadRecovery(const QString& path, pugi::xml_document& doc) {
    if (isLink(path))
        return unreadable(path, QStringLiteral("es un enlace, no un fichero"));
    if (!QFileInfo(path).isFile()) // opening a pipe would wait for ever
        return unreadable(path, QStringLiteral("no es un fichero normal"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(path, file.errorString());
    if (file.size() > RecoveryFile::kMaxBytes)
        return unreadable(path, QStringLiteral("ocupa más de %1 MB, más de lo que puede ocupar")
                                    .arg(RecoveryFile::kMaxBytes / (1024 * 1024)));
    if (!parseXml(file.readAll(), doc).ok())
        return unreadable(path, QStringLiteral("el fichero está dañado o cortado"));
    if (std::string_view(doc.document_element().name()) != kRoot)
        return unreadable(path, QStringLiteral("no es un fichero de cambios sin guardar"));
    return {};
}

Result<RecoveredWork> readHeader(const pugi::xml_document& doc, const QString& path, const QString& dni) {
    const pugi::xml_node root = doc.document_element();
    RecoveredWork work;
    work.writtenAt =
        QDateTime::fromString(fromUtf8(root.attribute("escrito").value()), QLatin1String(kTimeFormat));
    if (!work.writtenAt.isValid())
        return unreadable(path, QStringLiteral("no tiene la fecha de los cambios"));
    work.applicationFile = fromUtf8(root.attribute("solicitud").value());
    if (!work.applicationFile.isEmpty() && !applicationBelongsTo(work.applicationFile, dni))
        return unreadable(
            path, QStringLiteral("nombra la solicitud %1, que no es de este DNI").arg(work.applicationFile));
    work.identityLocked = root.attribute("identidadFija").as_bool();
    return work;
}

} // namespace

Result<RecoveredWork> RecoveryFile::header() const {
    pugi::xml_document doc;
    VELMORA_TRY(loadRecovery(m_path, doc));
    return readHeader(doc, m_path, m_dni);
}

Result<RecoveredWork> RecoveryFile::read(ApplicationLists lists) const {
    pugi::xml_document doc;
    VELMORA_TRY(loadRecovery(m_path, doc));
    const pugi::xml_node root = doc.document_element();
    auto header = readHeader(doc, m_path, m_dni);
    if (!header.ok())
        return header.error();
    RecoveredWork work = std::move(header).value();
    for (pugi::xml_node node : root.children("Control")) {
        const QString name = fromUtf8(node.attribute("nombre").value());
        FormControl* control = work.model.find(name);
        if (!control)
            continue; // a control of another version of the program: its value is dropped
        control->text = fromUtf8(node.attribute("texto").value());
        control->value = fromUtf8(node.attribute("valor").value());
        control->selected = node.attribute("marcado").as_bool();
        control->inList = node.attribute("enLista").as_bool();
        control->enabled = node.attribute("activo").as_bool(true);
    }
    std::array<Rows, 4> rows;
    const std::array<NamedList, 4> named = namedLists(lists);
    for (size_t i = 0; i < named.size(); ++i) {
        const pugi::xml_node list = root.find_child_by_attribute("Lista", "nombre", named[i].name);
        if (!list)
            return unreadable(m_path,
                              QStringLiteral("le falta la lista %1").arg(QLatin1String(named[i].name)));
        auto read = readList(list, named[i].table, m_path);
        if (!read.ok())
            return read.error();
        rows[i] = std::move(read).value();
    }
    for (size_t i = 0; i < named.size(); ++i)
        VELMORA_TRY(replaceRows(named[i].table, rows[i]));
    return work;
}

Status RecoveryFile::remove() const {
    QFile file(m_path);
    if (!file.exists() && !QFileInfo(m_path).isSymLink())
        return {};
    if (!file.remove())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se ha podido borrar %1: %2")
                               .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    return {};
}

QString RecoveryFile::setAsideDamaged(const Error& why) const {
    if (isLink(m_path)) {
        const bool removed = QFile::remove(m_path);
        return QStringLiteral("Los cambios sin guardar de la solicitud no se han podido leer (%1).%2")
            .arg(why.description, removed ? QStringLiteral(" Se ha quitado el enlace; el fichero al que "
                                                           "apuntaba no se ha tocado.")
                                          : QStringLiteral(" El enlace se ha dejado como estaba."));
    }
    const Result<QString> copy = keepDamagedCopyOf(m_path, QFileInfo(m_path).absolutePath());
    if (copy.ok())
        (void)remove();
    return QStringLiteral("Los cambios sin guardar de la solicitud no se han podido leer (%1).%2")
        .arg(why.description, copy.ok() ? QStringLiteral(" Se ha guardado una copia del fichero en %1.")
                                              .arg(QDir::toNativeSeparators(copy.value()))
                                        : QStringLiteral(" El fichero se ha dejado como estaba."));
}

} // namespace velmora
