#include "editor/SavedApplicationReader.h"

#include "applications/ApplicationFiles.h"
#include "catalog/CatalogTables.h"
#include "editor/ApplicationModel.h"
#include "platform/Progress.h"
#include "platform/data/RecordSet.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/WordProcessor.h"

#include <QDir>

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
    const char* control;
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
    {"cboProvincia", member<&CatalogTables::addressProvinces>},
    {"cboPrefProvincia", member<&CatalogTables::zones>},
    {"cboPrefArea", member<&CatalogTables::areas>},
    {"cboPrefLocalidad", member<&CatalogTables::localities>},
    {"cboCuerpo", member<&CatalogTables::bodies>},
    {"cboGrupo", member<&CatalogTables::groups>},
    {"cboProvinciasIxa", member<&CatalogTables::provinces>},
    {"cboAreaIxa", member<&CatalogTables::areas2>},
    {"cboZBSIxa", member<&CatalogTables::zones2>},
    {"cboLocalidadesIxa", localitiesClone},
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
        const QString criteria = table.column(shown).name + QStringLiteral("='") + text + QLatin1Char('\'');
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

} // namespace

Result<LoadedApplication> readSavedApplication(const QString& folder, const QString& fileName,
                                               docengine::WordProcessor& wordProcessor,
                                               ApplicationModel& model, ApplicationLists lists,
                                               Progress& progress, const CatalogTables* catalogs) {
    wordProcessor.setVisible(false);
    auto added = wordProcessor.addDocument(QDir(folder).filePath(fileName));
    if (!added.ok())
        return added.error();
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
            model.setSelected(control.name, ticked.value());
            if (ticked.value() &&
                (control.tag == QLatin1String("TARVO") || control.tag == QLatin1String("SSOTROS")))
                ++loaded.currentPostTicks;
            continue;
        }
        auto text = document.fieldResult(control.tag);
        if (!text.ok()) {
            if (isMissingField(text.error()))
                continue;
            return text.error();
        }
        if (control.kind == ControlKind::DropDown) {
            model.clearChoice(control.name);
            model.setText(control.name, text.value());
        } else if (control.kind == ControlKind::TextBox) {
            model.setText(control.name, text.value());
        }
        if (control.tag == QLatin1String("CUERPOOESCALA"))
            loaded.categoryCaption = text.value();
    }
    if (loaded.currentPostTicks == 0)
        model.setSelected(u"OptNo");

    auto read = readApplicationLists(folder, sidecarFileName(fileName), lists);
    if (!read.ok())
        return read.error();
    loaded.lists = read.value();

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
        const QString name = QString::fromLatin1(source.control);
        const QString text = model.text(name);
        if (text.isEmpty()) {
            model.clearChoice(name);
            continue;
        }
        const QString hint = name == QLatin1String("cboCuerpo") ? bodyCodeHint : QString();
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
