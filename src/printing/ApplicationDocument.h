#pragma once

#include "applications/ApplicationXml.h"
#include "platform/AppFolders.h"
#include "platform/Progress.h"
#include "platform/Result.h"
#include "platform/docengine/DocumentPrinter.h"
#include "printing/TemplateLayout.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace velmora {

namespace docengine {
class DocumentLayout;
}
class ApplicationModel;
class Clock;
class Pdf417Writer;
class PrintingWordProcessor;
class SystemPrinter;

// The editor as the saving-and-printing routines see it: the first tab's controls, the four
// lists, and what the program holds for printing.
struct PrintingEditor {
    const ApplicationModel& model;
    ApplicationLists lists;
    QString printRecord = {};       // the stored print record; ordinary prints put it in the first barcode
    QString templateFolderKey = {}; // "DOT_" + one digit per tab
    QString positionsPerPage = {};  // numPlazasPorPag of conf.xml, as written
    AppFolders folders = {}; // the data folder holds the templates; traza.txt goes to the program folder
    PrintingWordProcessor& wordProcessor; // the program-wide word processor
    const Clock& clock;
    docengine::PrintDestination destination = docengine::PrintDestination::Automatic;
    SystemPrinter* printers = nullptr; // the system's printers; none in the tools
    // When set, the printout is written to this PDF instead (tools and tests).
    QString pdfPath = {};
    // The print preview: the document is built and laid out exactly as a print would be,
    // but nothing is saved, printed or announced; the pages come back in the printout.
    bool preview = false;
    // The PDF is for signing: printed and checked the same, but there is no paper notice (the
    // window would open the PDF and wait for a printer).
    bool forSigning = false;
};

// What the user is told once the application has gone out: "IMPORTANTE", to wait for the
// printer's sheets, or, for a printout that went into a PDF instead, where it is, with the
// question (Sí/No) whether to open it.
struct PrintoutNotice {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Information;
    // Set: the notice is a Sí/No question whose "Sí" opens this PDF.
    QString pdfToOpen;
};

// What a save or print produced.
struct ApplicationPrintout {
    QString documentPath; // the application document
    QString sidecarPath;  // its XML companion
    bool printed = false;
    docengine::PrintOutcome outcome;
    // The text of every barcode put on the pages, folded, in page order.
    QStringList barcodes;
    // A preview's pages, laid out and with their barcodes numbered, as they would print.
    std::shared_ptr<const docengine::DocumentLayout> pages;
    // Set when an ordinary print went out (not a preview, nor the one for signing): the window
    // tells it, then keeps the printed document open until its timer closes it.
    std::optional<PrintoutNotice> notice;
};

// Data folder + template folder key + "/" + PlantillaWXP.dot or PlantillaW97.dot.
QString templatePath(const QString& dataFolder, const QString& templateFolderKey,
                     TemplateGeneration generation);

// The saving-and-printing routines of the two template generations (same arguments).
//
// The document is made from the template of the contest's key, its bookmarks and form
// fields are filled from the editor, the courses go into table 3 (a new table with its
// header after a page break every 35 rows), the XML companion is written, and the
// document is saved as `folder`/`fileName`. Without `print` the document is then closed.
// With `print` the first-page barcode, the documents list and the vacancy and resultas
// lists with one barcode per page are added, the document is printed, the "IMPORTANTE"
// notice (for a printout written to a PDF instead, where it is and whether to open it) comes
// back in the printout, and the document stays open in the editor's word processor until its
// timer closes it. A draft shows "BORRADOR" and holds no barcode.
//
// Every failure comes back in the words, title and icon the user is told it with. Failures
// before anything is written (no template for the key, no applications folder, no word
// processor) name what is missing, and nothing is written. Once the document exists, a
// field, bookmark or table the template lacks is skipped. A document that cannot be saved or
// printed is a failure as well.
Result<ApplicationPrintout> ImprimeSolicitudWXP(const QString& fileName, const QString& folder,
                                                PrintingEditor& editor, Progress& progress,
                                                Pdf417Writer& barcode, bool print, bool draft);
Result<ApplicationPrintout> ImprimeSolicitudW97(const QString& fileName, const QString& folder,
                                                PrintingEditor& editor, Progress& progress,
                                                Pdf417Writer& barcode, bool print, bool draft);

// The generic progress window (frmProgresoGeneral) as saving drives it.
class ProgressWindow : public Progress {
public:
    // Shows the window (not modal) with `action` as its label.
    virtual void showAction(const QString& action) { m_action = action; }
    virtual void unload() {}
    const QString& action() const { return m_action; }

private:
    QString m_action;
};

// The end of GrabaSolicitud, once the save check has passed: builds the application file
// name, shows "Guardando Datos ...", calls the routine of the word processor's generation
// (a stored version of 8 or lower, or one that is not a number, picks the older one) with
// the applications folder, and unloads the progress window.
Result<ApplicationPrintout> saveApplication(PrintingEditor& editor, ProgressWindow& progress,
                                            Pdf417Writer& barcode, const QString& wordProcessorVersion,
                                            bool print, bool draft);

// The print preview of the application in the editor: the same template, fields, lists,
// barcodes and page layout as saveApplication(print) would give, built in a scratch folder;
// the applications folder is not touched. Failures come back as the print's do.
Result<ApplicationPrintout> previewApplication(PrintingEditor& editor, ProgressWindow& progress,
                                               Pdf417Writer& barcode, const QString& wordProcessorVersion,
                                               bool draft);

} // namespace velmora
