#pragma once

#include "app/ContestConfiguration.h"
#include "applications/ApplicationXml.h"
#include "platform/AppFolders.h"
#include "platform/Result.h"
#include "platform/docengine/DocumentPrinter.h"
#include "printing/ApplicationDocument.h"

#include <QString>

#include <memory>

namespace velmora {

class ApplicationModel;
class Clock;
class PrintingWordProcessor;
class RecordSet;
class SystemPrinter;
class UserQuestions;
class UserStore;

// What the flow asks of the window it runs for.
class SaveAndPrintHost {
public:
    virtual ~SaveAndPrintHost() = default;
    enum class PasswordOutcome {
        Stored,     // the user store now holds a password for the DNI
        Declined,   // the applicant left the password window without one
        StoreFailed // the user store could not be written
    };
    // A new applicant sets a password before the first save (the password window).
    virtual PasswordOutcome askForPassword(const QString& dni) = 0;
    // The progress window a save or a preview shows while it runs.
    virtual std::unique_ptr<ProgressWindow> progressWindow() = 0;
    // DNI, body and group were locked in the model (the first save of the application).
    virtual void identityLocked() {}
};

// Everything a save or a print of the editor's application reads.
struct SaveAndPrintContext {
    ApplicationModel& model;
    ApplicationLists lists;
    const RecordSet& situations;
    const ContestConfiguration& configuration;
    AppFolders folders;
    UserStore& users;
    PrintingWordProcessor& printing;
    UserQuestions& questions; // asked whether to make a draft of an incomplete application
    const Clock& clock;
    QString wordProcessorVersion; // the generation of templates follows it
    docengine::PrintDestination destination = docengine::PrintDestination::Automatic;
    SystemPrinter* printers = nullptr; // the system's printers; none in the tools
    QString pdfPath = {};              // set: prints go to this PDF
};

// The road of "Imprimir", "Vista previa" and "Guardar": the checks, the password of a new
// applicant, the identity lock, the save, then the print, the draft or the preview. The
// editor window's menu entries and close prompt are calls on it; nothing here shows a
// window but through its host.
class SaveAndPrintFlow {
public:
    SaveAndPrintFlow(SaveAndPrintContext context, SaveAndPrintHost& host);

    // Every call below returns what was saved (and printed), or the failure to tell the user (a
    // cancellation where the user declined, or where an editor's check has shown why).
    //
    // "Imprimir": the print check; when it fails, the offer of a draft. Then the save and
    // the print.
    Result<ApplicationPrintout> print();
    // "Guardar" (and GrabaSolicitud): the save check, the password of a new applicant (a
    // user store that cannot be written stops the save), DNI, body and group locked, the
    // save; with `print`, the print.
    Result<ApplicationPrintout> save(bool print = false, bool draft = false);
    // The save the close prompt's "Sí" asks for: the same, without locking the identity of
    // a window that is going away.
    Result<ApplicationPrintout> saveOnClose();
    // "Vista previa": the same checks as a print, then the pages as they would print; no
    // password is asked and nothing is saved.
    Result<ApplicationPrintout> preview();

    // The final printout into the PDF `pdfPath`, to be signed: the same checks, save,
    // barcodes and read-back as "Imprimir", but an incomplete application is refused (a
    // draft is never signed) and no paper notice is shown.
    Result<ApplicationPrintout> printForSigning(const QString& pdfPath);

    // The print record of the last ordinary print (drafts keep it as it was).
    const QString& printRecord() const { return m_printRecord; }
    void setDestination(docengine::PrintDestination destination, const QString& pdfPath) {
        m_context.destination = destination;
        m_context.pdfPath = pdfPath;
    }
    void setWordProcessorVersion(const QString& version) { m_context.wordProcessorVersion = version; }

private:
    enum class PrintKind { Final, Draft, None };
    // A save from the menu locks DNI, body and group; the one of the close prompt leaves a
    // window that is going away as it is, and prints nothing.
    enum class SaveKind { LockIdentity, Closing };
    Result<ApplicationPrintout> checkedSave(SaveKind kind, bool print, bool draft);
    PrintKind choosePrint(const QString& draftQuestion);
    Status passwordReady();
    PrintingEditor printingEditor(const QString& printRecord);

    SaveAndPrintContext m_context;
    SaveAndPrintHost& m_host;
    QString m_printRecord;
    bool m_forSigning = false;
};

} // namespace velmora
