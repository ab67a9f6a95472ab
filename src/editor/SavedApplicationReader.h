#pragma once

#include "applications/ApplicationXml.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace velmora {

namespace docengine {
class WordProcessor;
}
class ApplicationModel;
class Progress;
struct CatalogTables;

// The error number of a saved application that cannot be opened because one of its files is
// damaged or a link; its description is the whole text for the user.
inline constexpr int kUnreadableApplication = 1101;

// What reading a saved application found besides the controls and lists it filled.
struct LoadedApplication {
    QString categoryCaption;  // the text of "CUERPOOESCALA", for the label lblCat
    int currentPostTicks = 0; // "TARVO" and "SSOTROS" boxes found ticked
    SidecarRead lists = SidecarRead::Missing;
    // What the user must be told about the lists file, one text each (shown with the title
    // "Solicitudes" and the exclamation icon): unreadable and kept aside, read in another
    // encoding than it declares, lists no final printout can carry.
    QStringList notices;
};

// Reads a saved application back (folder + fileName and its XML companion): a new document
// is made from the saved one; every tagged control of `model`, in control order, takes its
// form field's value (text boxes and drop-downs the result text, option buttons the box);
// a control whose field the document lacks is skipped. When neither "TARVO" nor "SSOTROS"
// is ticked, OptNo is selected. The lists are appended from the companion file, which may
// be missing. The created document is closed before returning.
//
// The pair is read under its lock, after settling a save that was cut short. A lists file
// that cannot be read (not XML, another root, missing elements, from another save than the
// document, or missing altogether) gives no rows and a notice; its bytes are first kept in
// a copy in `folder` (keepDamagedCopy), as are those of a file read in another encoding
// than it declares. A document that cannot be read is kept the same way and its reading
// fails with kUnreadableApplication, as does a link at either name (never read through) and
// a lists file that exists but cannot be read at all (no permission, a folder, larger than
// kMaxListsFileBytes): then nothing has been read into `model` or `lists`.
//
// Drop-downs receive their text only; with `catalogs` their values are then looked up
// (resolveDropDownValues). Any other failure abandons the reading and is returned; what was
// read until then stays in the model.
Result<LoadedApplication> readSavedApplication(const QString& folder, const QString& fileName,
                                               docengine::WordProcessor& wordProcessor,
                                               ApplicationModel& model, ApplicationLists lists,
                                               Progress& progress, const CatalogTables* catalogs = nullptr);

// Sets the value of every drop-down of the first tab from its text, through the table it is
// bound to (key column = the table's first column, text = its second): the first row whose
// text matches gives the value, and the drop-down then holds an item of its list. A text no
// row shows leaves the drop-down without value and not an item of its list. For the body,
// a row whose code is `bodyCodeHint` wins over others of the same description.
void resolveDropDownValues(ApplicationModel& model, const CatalogTables& catalogs,
                           const QString& bodyCodeHint = QString());

} // namespace velmora
