#include "app/SaveAndPrintFlow.h"

#include "editor/ApplicationChecks.h"
#include "editor/ApplicationModel.h"
#include "platform/UserQuestions.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/FinalPrintLists.h"
#include "printing/PrintRecord.h"
#include "printing/PrintingWordProcessor.h"
#include "users/UserStore.h"

namespace velmora {

SaveAndPrintFlow::SaveAndPrintFlow(SaveAndPrintContext context, SaveAndPrintHost& host)
    : m_context(std::move(context)), m_host(host) {}

SaveAndPrintFlow::PrintKind SaveAndPrintFlow::choosePrint(const QString& draftQuestion) {
    const SaveAndPrintContext& c = m_context;
    const Status complete = ValidaDatosImpresion(c.model, c.lists.vacancies, c.lists.resultas);
    if (complete)
        return PrintKind::Final;
    c.questions.tell(complete.error());
    const MessageAnswer answer = c.questions.ask(draftQuestion, QStringLiteral("Copia Borrador"),
                                                 MessageIcon::Question, QuestionButtons::YesNo);
    return answer == MessageAnswer::Yes ? PrintKind::Draft : PrintKind::None;
}

namespace {

Error stopped(const QString& why) {
    return Error::told(ErrorCode::InvalidProcedureCall, why, programTitle(), MessageIcon::Critical);
}

} // namespace

Result<ApplicationPrintout> SaveAndPrintFlow::print() {
    switch (choosePrint(
        QStringLiteral("Faltan datos por rellenar. ¿Desea imprimir una copia borrador de la solicitud?"))) {
    case PrintKind::Final:
        // Lists the barcodes cannot carry stop the print before the password, the identity
        // lock and the save, so that the message can say that nothing has changed.
        if (const std::optional<QString> problem =
                finalPrintListProblem(m_context.lists.vacancies, m_context.lists.resultas)) {
            return Error::told(ErrorCode::InvalidProcedureCall, finalPrintRefusal(*problem),
                               QStringLiteral("Impresión"), MessageIcon::Exclamation);
        }
        m_printRecord = GeneraCadenaImpresion(m_context.model, m_context.situations);
        return save(true, false);
    case PrintKind::Draft:
        return save(true, true);
    case PrintKind::None:
        break;
    }
    return Error::cancelled();
}

Result<ApplicationPrintout> SaveAndPrintFlow::printForSigning(const QString& pdfPath) {
    SaveAndPrintContext& c = m_context;
    if (const Status complete = ValidaDatosImpresion(c.model, c.lists.vacancies, c.lists.resultas); !complete)
        return complete.error();
    m_printRecord = GeneraCadenaImpresion(c.model, c.situations);
    const auto destination = c.destination;
    const QString previousPdf = c.pdfPath;
    c.destination = docengine::PrintDestination::Pdf;
    c.pdfPath = pdfPath;
    m_forSigning = true;
    auto printed = save(true, false);
    m_forSigning = false;
    c.destination = destination;
    c.pdfPath = previousPdf;
    // The document stays open only for a printer to take it; a signed copy is done with it.
    c.printing.closeAndForget();
    return printed;
}

Status SaveAndPrintFlow::passwordReady() {
    const QString dni = m_context.model.text(ctl::txtDNI);
    if (m_context.users.ExisteUsuario(dni))
        return {};
    // An applicant may leave without a password and still save; a password that could not
    // be stored stops the save, which would leave the application open to anyone typing the
    // DNI while the applicant believes it protected.
    if (m_host.askForPassword(dni) != SaveAndPrintHost::PasswordOutcome::StoreFailed)
        return {};
    const QString why = QStringLiteral(
        "La contraseña no se ha podido guardar en el fichero de usuarios, así que la solicitud no se ha "
        "guardado: sin contraseña, cualquiera que escriba su DNI podría abrirla. Resuelva el problema "
        "indicado e inténtelo de nuevo.");
    return stopped(why);
}

PrintingEditor SaveAndPrintFlow::printingEditor(const QString& printRecord) {
    SaveAndPrintContext& c = m_context;
    return PrintingEditor{c.model,
                          c.lists,
                          printRecord,
                          c.configuration.templateFolderKey,
                          c.configuration.positionsPerPage,
                          c.folders,
                          c.printing,
                          c.clock,
                          c.destination,
                          c.printers,
                          c.pdfPath,
                          false,
                          m_forSigning};
}

Result<ApplicationPrintout> SaveAndPrintFlow::save(bool print, bool draft) {
    return checkedSave(SaveKind::LockIdentity, print, draft);
}

Result<ApplicationPrintout> SaveAndPrintFlow::saveOnClose() {
    return checkedSave(SaveKind::Closing, false, false);
}

Result<ApplicationPrintout> SaveAndPrintFlow::checkedSave(SaveKind kind, bool print, bool draft) {
    if (const Status complete = ValidaDatosGrabacion(m_context.model); !complete)
        return complete.error();
    VELMORA_TRY(passwordReady());
    if (kind == SaveKind::LockIdentity) {
        for (ControlName name : {ctl::cboCuerpo, ctl::cboGrupo, ctl::txtDNI})
            m_context.model.setEnabled(name, false);
        m_host.identityLocked();
    }
    const std::unique_ptr<ProgressWindow> progress = m_host.progressWindow();
    PrintingEditor editor = printingEditor(draft || kind == SaveKind::Closing ? QString() : m_printRecord);
    if (kind == SaveKind::Closing)
        editor.pdfPath.clear();
    Pdf417Writer barcode;
    return saveApplication(editor, *progress, barcode, m_context.wordProcessorVersion, print, draft);
}

Result<ApplicationPrintout> SaveAndPrintFlow::preview() {
    const PrintKind kind = choosePrint(QStringLiteral(
        "Faltan datos por rellenar. ¿Desea ver la vista previa de una copia borrador de la solicitud?"));
    if (kind == PrintKind::None)
        return Error::cancelled();
    if (const Status complete = ValidaDatosGrabacion(m_context.model); !complete)
        return complete.error();
    const bool draft = kind == PrintKind::Draft;
    const QString record = draft ? QString() : GeneraCadenaImpresion(m_context.model, m_context.situations);
    const std::unique_ptr<ProgressWindow> progress = m_host.progressWindow();
    PrintingEditor editor = printingEditor(record);
    Pdf417Writer barcode;
    return previewApplication(editor, *progress, barcode, m_context.wordProcessorVersion, draft);
}

} // namespace velmora
