#include "editor/SavedApplicationReader.h"

#include "applications/ApplicationFiles.h"
#include "applications/ApplicationPair.h"
#include "applications/ListConsistency.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "platform/Progress.h"
#include "platform/data/AtomicFile.h"
#include "platform/data/DamagedFileCopy.h"
#include "platform/data/FileRead.h"
#include "platform/data/RecordSet.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/WordProcessor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {

constexpr float kLoadProgressMaximum = 324;

bool isMissingField(const Error& error) {
    return error.number == docengine::DocError::MissingMember;
}

// Closes the document made for reading, however the reading ends.
struct DocumentCloser {
    docengine::WordProcessor& wordProcessor;
    docengine::Document* document;
    ~DocumentCloser() { wordProcessor.closeDocument(document); }
};

struct DropDownSource {
    ControlName control;
    const RecordSet* (*table)(const CatalogTables&);
};

template <RecordSet CatalogTables::*Table> const RecordSet* member(const CatalogTables& t) {
    return &(t.*Table);
}

const RecordSet* localitiesClone(const CatalogTables& t) {
    return t.localitiesClone.get();
}

// The tables the editor binds its first-tab drop-downs to.
constexpr DropDownSource kSources[] = {
    {ctl::cboProvincia, member<&CatalogTables::addressProvinces>},
    {ctl::cboPrefProvincia, member<&CatalogTables::zones>},
    {ctl::cboPrefArea, member<&CatalogTables::areas>},
    {ctl::cboPrefLocalidad, member<&CatalogTables::localities>},
    {ctl::cboCuerpo, member<&CatalogTables::bodies>},
    {ctl::cboGrupo, member<&CatalogTables::groups>},
    {ctl::cboProvinciasIxa, member<&CatalogTables::provinces>},
    {ctl::cboAreaIxa, member<&CatalogTables::areas2>},
    {ctl::cboZBSIxa, member<&CatalogTables::zones2>},
    {ctl::cboLocalidadesIxa, localitiesClone},
};

// The key of the first row of `table` whose displayed column shows `text`; `preferredKey`
// wins when one of the matching rows has it.
std::optional<QString> keyOf(const RecordSet& table, const QString& text, const QString& preferredKey) {
    if (!table.isOpen() || table.columnCount() == 0)
        return std::nullopt;
    const int key = 0;
    const int shown = table.columnCount() > 1 ? 1 : 0;
    // The first match in the order the drop-down lists its rows.
    std::unique_ptr<RecordSet> rows = cloneKeepingOrder(table);
    std::optional<QString> found;
    const auto matches = [&] { return rows->text(shown) == text; };
    if (!text.contains(QLatin1Char('\''))) {
        const Filter criteria = Filter::equals(ColumnName(table.column(shown).name), text);
        rows->moveFirst();
        while (rows->find(criteria).ok() && !rows->isEOF()) {
            if (!found)
                found = rows->text(key);
            if (preferredKey.isEmpty() || rows->text(key) == preferredKey)
                return rows->text(key);
            rows->moveNext();
        }
        return found;
    }
    for (rows->moveFirst(); !rows->isEOF(); rows->moveNext()) {
        if (!matches())
            continue;
        if (!found)
            found = rows->text(key);
        if (preferredKey.isEmpty() || rows->text(key) == preferredKey)
            return rows->text(key);
    }
    return found;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

Error unreadable(const QString& text) {
    return Error::make(kUnreadableApplication, text);
}

// Keeps a damaged file aside; without that copy the application is not opened, since its
// next save would replace the only bytes left.
Result<QString> keepCopy(const QString& folder, const QString& path, const QByteArray& bytes) {
    Result<QString> copy = keepDamagedCopy(folder, QFileInfo(path).fileName(), bytes);
    if (!copy.ok())
        return unreadable(
            QStringLiteral("El fichero %1 no se ha podido leer y tampoco se ha podido guardar una "
                           "copia de él (%2); la solicitud no se abre para no perderlo.")
                .arg(native(path), copy.error().description));
    return copy;
}

Error unreadableLists(const ApplicationPairFiles& files, const QString& cause) {
    return unreadable(QStringLiteral("La solicitud no se abre: su lista de plazas, cursos y documentos (%1) "
                                     "existe pero no se puede leer: %2. Ábrala cuando se pueda leer; "
                                     "abierta sin esas listas, guardarla las sustituiría por listas vacías.")
                          .arg(native(files.lists), cause));
}

// Reads the lists file into `lists`, telling in `loaded` what went wrong.
Status readLists(const ApplicationPairFiles& files, const QByteArray& documentBytes, ApplicationLists lists,
                 LoadedApplication& loaded) {
    const ListsFileRead read = readListsFile(files.lists, lists, documentDigestOf(documentBytes));
    loaded.lists = read.state;
    const QString listsWord = QStringLiteral("La lista de plazas, cursos y documentos de la solicitud");
    if (read.state == SidecarRead::Missing) {
        loaded.notices << QStringLiteral(
                              "%1 no se ha podido leer (%2: no existe); la solicitud se abre sin esas "
                              "listas.")
                              .arg(listsWord, native(files.lists));
        return {};
    }
    if (read.state == SidecarRead::Unreadable)
        return unreadableLists(files, read.problem);
    if (read.state != SidecarRead::Loaded) {
        Result<QString> copy = keepCopy(files.folder, files.lists, read.bytes);
        if (!copy.ok())
            return copy.error();
        loaded.notices << QStringLiteral(
                              "%1 no se ha podido leer (%2: %3). Se ha guardado una copia del fichero "
                              "en %4; la solicitud se abre sin esas listas.")
                              .arg(listsWord, native(files.lists), read.problem, native(copy.value()));
        return {};
    }
    if (read.encodingGuessed) {
        Result<QString> copy = keepCopy(files.folder, files.lists, read.bytes);
        if (!copy.ok())
            return copy.error();
        loaded.notices << QStringLiteral(
                              "%1 (%2) no estaba escrita en la codificación que declara y se ha leído "
                              "como Windows-1252. Revise sus textos; se ha guardado una copia del "
                              "fichero original en %3.")
                              .arg(listsWord, native(files.lists), native(copy.value()));
    }
    if (const std::optional<QString> problem = firstListProblem(lists.vacancies, lists.resultas))
        loaded.notices << QStringLiteral(
                              "Las listas de plazas de la solicitud no son válidas: %1. La solicitud "
                              "no se podrá imprimir como definitiva hasta corregirlas.")
                              .arg(*problem);
    return {};
}

} // namespace

Result<LoadedApplication> readSavedApplication(const QString& folder, const QString& fileName,
                                               docengine::WordProcessor& wordProcessor,
                                               ApplicationModel& model, ApplicationLists lists,
                                               Progress& progress, const CatalogTables* catalogs) {
    const ApplicationPairFiles files(folder, fileName);
    ApplicationPairLock lock(files);
    if (const Status locked = lock.acquire(); !locked.ok())
        return unreadable(
            QStringLiteral("No se puede abrir la solicitud: %1").arg(locked.error().description));
    FileSteps steps;
    settleInterruptedSave(files, steps);
    for (const QString& path : {files.document, files.lists})
        if (isLink(path))
            return unreadable(QStringLiteral("La solicitud no se abre: %1 es un enlace a otro fichero, y el "
                                             "programa no lee ni escribe a través de enlaces.")
                                  .arg(native(path)));
    // Lists that exist but cannot be read stop the opening before anything is read: opened
    // without them, the application's next save would replace them with empty ones.
    if (const Result<QByteArray> listsBytes = readFileUpTo(files.lists, kMaxListsFileBytes);
        !listsBytes.ok() && listsBytes.error().number != ErrorCode::FileNotFound)
        return unreadableLists(files, listsBytes.error().description);
    const QByteArray documentBytes = fileBytes(files.document);
    // A document that exists but cannot be read is kept before anything else happens.
    const auto damagedDocument = [&](const Error& error) -> Error {
        Result<QString> copy = keepCopy(folder, files.document, documentBytes);
        if (!copy.ok())
            return copy.error();
        return unreadable(QStringLiteral("Los datos de la solicitud no se han podido leer (%1: %2). Se ha "
                                         "guardado una copia del fichero en %3; la solicitud no se abre.")
                              .arg(native(files.document), error.description, native(copy.value())));
    };

    wordProcessor.setVisible(false);
    auto added = wordProcessor.addDocument(files.document);
    if (!added.ok())
        return QFileInfo(files.document).isFile() ? damagedDocument(added.error()) : added.error();
    docengine::Document& document = *added.value();
    DocumentCloser closer{wordProcessor, &document};
    progress.setMaximum(kLoadProgressMaximum);

    LoadedApplication loaded;
    // Selecting an option button deselects its partners, so walk by position.
    for (size_t i = 0; i < model.controls().size(); ++i) {
        progress.advance(1);
        const FormControl control = model.controls().at(i);
        if (control.tag.isEmpty())
            continue;
        if (control.kind == ControlKind::OptionButton) {
            auto ticked = document.checkBox(control.tag);
            if (!ticked.ok()) {
                if (isMissingField(ticked.error()))
                    continue;
                return ticked.error();
            }
            model.setSelected(ControlName(control.name), ticked.value());
            if (ticked.value() &&
                (control.tag == QLatin1String("TARVO") || control.tag == QLatin1String("SSOTROS")))
                ++loaded.currentPostTicks;
            continue;
        }
        auto text = document.fieldResult(control.tag);
        if (!text.ok()) {
            if (isMissingField(text.error()))
                continue;
            return damagedDocument(text.error());
        }
        if (control.kind == ControlKind::DropDown) {
            model.clearChoice(ControlName(control.name));
            model.setText(ControlName(control.name), text.value());
        } else if (control.kind == ControlKind::TextBox) {
            model.setText(ControlName(control.name), text.value());
        }
        if (control.tag == QLatin1String("CUERPOOESCALA"))
            loaded.categoryCaption = text.value();
    }
    // The question itself is not saved: a ticked health service says the answer was "Sí".
    model.setSelected(loaded.currentPostTicks == 0 ? ctl::OptNo : ctl::OptSi);

    VELMORA_TRY(readLists(files, documentBytes, lists, loaded));

    progress.setValue(progress.maximum());
    for (RecordSet* list : {&lists.courses, &lists.vacancies, &lists.resultas, &lists.documents})
        if (list->isOpen() && list->recordCount() > 0)
            list->moveFirst();

    if (catalogs)
        resolveDropDownValues(model, *catalogs, fileName.size() == 21 ? fileName.mid(10, 5) : QString());
    return loaded;
}

void resolveDropDownValues(ApplicationModel& model, const CatalogTables& catalogs,
                           const QString& bodyCodeHint) {
    for (const DropDownSource& source : kSources) {
        const ControlName name = source.control;
        const QString text = model.text(name);
        if (text.isEmpty()) {
            model.clearChoice(name);
            continue;
        }
        const QString hint = name == ctl::cboCuerpo ? bodyCodeHint : QString();
        const RecordSet* table = source.table(catalogs);
        if (const std::optional<QString> key = table ? keyOf(*table, text, hint) : std::nullopt) {
            model.setChoice(name, *key, text);
        } else {
            model.setValue(name, QString());
            model.setListItem(name, false);
        }
    }
}

} // namespace velmora
