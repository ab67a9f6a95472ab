#include "printing/ApplicationDocument.h"

#include "applications/ApplicationColumns.h"
#include "applications/ApplicationFiles.h"
#include "applications/ApplicationPair.h"
#include "editor/ApplicationChecks.h"
#include "editor/ApplicationModel.h"
#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/Table.h"
#include "printing/BarcodeOverflow.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeText.h"
#include "printing/FinalPrintLists.h"
#include "printing/ListPages.h"
#include "printing/ListTableWriter.h"
#include "printing/PrintBarcodes.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/RunningLine.h"
#include "printing/TemplateWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace velmora {

using namespace docengine;

namespace {

constexpr qint16 kFirstPageBarcodeHeight = 2000; // 2600 on the page

QString printingTitle() {
    return QStringLiteral("Impresión");
}

QString printingNotice() {
    return QStringLiteral(
        "IMPORTANTE: Espere unos momentos, se está imprimiendo la solicitud. Cuando estén todas "
        "las hojas impresas, pulse el botón Aceptar.");
}

QString notSaved() {
    return QStringLiteral("\nLa solicitud no se ha guardado.");
}

// Templates of older contests may lack a form field or bookmark the editor has: that one
// is left out of the printed form. Any other failure of filling reaches the caller.
Status skipMissingMember(const Status& filled) {
    if (!filled.ok() && filled.error().number == DocError::MissingMember)
        return {};
    return filled;
}

// The check boxes of the current post, which print unticked when the applicant holds none.
bool isCurrentPostBox(const QString& tag) {
    return tag == QLatin1String("TARVO") || tag == QLatin1String("SSOTROS") ||
           tag == QLatin1String("DEFINITIVO") || tag == QLatin1String("TEMPORAL");
}

class ApplicationDocumentRoutine {
public:
    ApplicationDocumentRoutine(TemplateGeneration generation, const QString& fileName, const QString& folder,
                               PrintingEditor& editor, Progress& progress, Pdf417Writer& barcode, bool print,
                               bool draft)
        : m_generation(generation), m_older(generation == TemplateGeneration::Legacy), m_fileName(fileName),
          m_folder(folder), m_editor(editor), m_progress(progress), m_barcode(barcode), m_print(print),
          m_draft(draft) {}

    Result<ApplicationPrintout> run() {
        // Barcodes carry each row in fixed places: lists they cannot hold never reach a
        // final printout, whose barcodes the office would read as something else.
        if (m_print && !m_draft)
            if (const std::optional<QString> problem =
                    finalPrintListProblem(m_editor.lists.vacancies, m_editor.lists.resultas)) {
                return Error::told(ErrorCode::InvalidProcedureCall, finalPrintRefusal(*problem),
                                   printingTitle(), MessageIcon::Exclamation);
            }
        VELMORA_TRY(openDocument());
        ListTableWriter writer(*m_doc, m_generation, m_progress);
        m_lists = &writer;
        m_out.documentPath = QDir(m_folder).filePath(m_fileName);
        m_out.sidecarPath = QDir(m_folder).filePath(sidecarFileName(m_fileName));

        ListRows courses(m_editor.lists.courses, listDataColumns(ListKind::Courses, m_generation), QString());
        ListRows vacancies(m_editor.lists.vacancies, listDataColumns(ListKind::Vacancies, m_generation),
                           ascending(col::PreferenceList::Orden));
        ListRows resultas(m_editor.lists.resultas, listDataColumns(ListKind::Resultas, m_generation),
                          ascending(col::PreferenceList::Orden));
        ListRows documents(m_editor.lists.documents, listDataColumns(ListKind::Documents, m_generation),
                           QString());

        m_progress.setMaximum(
            float(162 + courses.count + vacancies.count + resultas.count + documents.count));
        m_progress.setValue(0);
        const QDateTime printedAt = m_editor.clock.now();
        m_header = barcodeHeader(ClaveCodigoBarras(m_editor.model.text(ctl::txtDNI),
                                                   m_editor.model.value(ctl::cboCuerpo),
                                                   m_editor.model.value(ctl::cboGrupo)),
                                 printedAt);

        if (const Status filled = fillBookmarks(printedAt); !filled.ok())
            return fillFailed(filled.error());
        if (const Status filled = fillFields(); !filled.ok())
            return fillFailed(filled.error());
        std::optional<ListOnPaper> coursesOnPaper;
        if (tabShown(EditorTab::Courses)) {
            Result<std::optional<ListOnPaper>> filled = fillCourses(courses);
            if (!filled.ok())
                return fillFailed(filled.error());
            coursesOnPaper = std::move(filled).value();
        }
        if (!m_editor.preview)
            VELMORA_TRY(saveDocument());

        if (!m_print) {
            m_editor.wordProcessor.closeAndForget();
            return m_out;
        }

        if (coursesOnPaper)
            writer.setCoursesPrintLook(*coursesOnPaper);
        m_barcodes.emplace(m_barcode, m_header, m_folder, m_editor.clock);
        if (const Status placed = firstPageBarcode(); !placed.ok())
            return printFailed(placed.error());
        writeRunningLine(*m_doc, m_editor.model);

        // The page each list barcode is expected on: the courses fill the second page, and
        // every page break added to a list moves it on. Only a first guess: once the pages
        // are laid out, each barcode carries the page it landed on.
        int page = courses.count > 0 ? 2 : 1;
        if (coursesOnPaper)
            page += coursesOnPaper->pageBreaks;

        // The trailing lists are counted back from the end, past the courses tables.
        const int tables = m_doc->tableCount();
        const int lastCourses =
            TemplateTables::kCourses + (coursesOnPaper ? int(coursesOnPaper->pageBreaks) : 0);
        // A template without a list's table prints nothing of it; that is only right while the
        // list is empty, else rows the applicant saved would be missing from the paper.
        auto trailing = [&](ListKind kind, int tab, int rows) -> Result<std::optional<ListOnPaper>> {
            // A tab the contest hides prints nothing of its list, whatever rows were saved.
            if (!tabShown(tab))
                return std::optional<ListOnPaper>();
            const int number = listTableNumber(kind, tables);
            if (number > lastCourses)
                if (Result<Table> table = m_doc->table(number); table.ok())
                    return std::optional<ListOnPaper>(ListOnPaper(kind, table.value()));
            if (rows == 0)
                return std::optional<ListOnPaper>();
            return listTableMissing(kind);
        };
        Result<std::optional<ListOnPaper>> documentsOnPaper =
            trailing(ListKind::Documents, EditorTab::Documents, documents.count);
        Result<std::optional<ListOnPaper>> vacanciesOnPaper =
            trailing(ListKind::Vacancies, EditorTab::Vacancies, vacancies.count);
        Result<std::optional<ListOnPaper>> resultasOnPaper =
            trailing(ListKind::Resultas, EditorTab::Resultas, resultas.count);
        for (const auto* found : {&documentsOnPaper, &vacanciesOnPaper, &resultasOnPaper})
            if (!found->ok())
                return printFailed(found->error());

        if (std::optional<ListOnPaper>& list = documentsOnPaper.value()) {
            if (const Status filled = writer.fillTableList(*list, documents); !filled.ok())
                return printFailed(filled.error());
            page += list->pageBreaks;
        }
        ++page; // the vacancy list begins
        if (std::optional<ListOnPaper>& list = vacanciesOnPaper.value())
            if (const Status filled = fillPositionList(*list, vacancies, BarcodeKind::Vacancies, page,
                                                       resultas.count > 0 && resultasOnPaper->has_value());
                !filled.ok())
                return printFailed(filled.error());
        if (std::optional<ListOnPaper>& list = resultasOnPaper.value())
            if (const Status filled = fillPositionList(*list, resultas, BarcodeKind::Resultas, page, false);
                !filled.ok())
                return printFailed(filled.error());
        m_lists = nullptr;

        // Nothing is printed when a barcode could not be made.
        if (m_barcodeFailure) {
            m_editor.wordProcessor.closeAndForget();
            return Error::told(ErrorCode::InvalidProcedureCall, *m_barcodeFailure, printingTitle(),
                               MessageIcon::Critical);
        }
        return printDocument();
    }

private:
    // Whether the contest shows a tab; a key that does not read as one shows them all.
    bool tabShown(int tab) const {
        const std::optional<TemplateKey> key = TemplateKey::fromFolderName(m_editor.templateFolderKey);
        return !key || key->shows(tab);
    }

    static Error fail(const QString& text) {
        return Error::told(ErrorCode::FileNotFound, text, programTitle(), MessageIcon::Critical);
    }

    // Steps 1 and 2: nothing is written before the template, the applications folder and
    // the word processor are all there.
    Status openDocument() {
        const QString path = templatePath(m_editor.folders.data, m_editor.templateFolderKey, m_generation);
        // Every other file lives in the contest folder: when it is gone, that is the news.
        const QString contest = m_editor.folders.program;
        if (!contest.isEmpty() && !QFileInfo(contest).isDir())
            return fail(
                QStringLiteral("No se encuentra la carpeta del concurso:\n%1\nSe ha movido, borrado o "
                               "cambiado de nombre con el programa abierto; devuélvala a su sitio y "
                               "vuelva a intentarlo.%2")
                    .arg(QDir::toNativeSeparators(contest), notSaved()));
        if (!QFileInfo(path).isFile())
            return fail(QStringLiteral("No se encuentra la plantilla de la solicitud:\n%1%2")
                            .arg(QDir::toNativeSeparators(path), notSaved()));
        if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
            return fail(QStringLiteral("No existe la carpeta de las solicitudes:\n%1%2")
                            .arg(QDir::toNativeSeparators(m_folder), notSaved()));
        auto started = m_editor.wordProcessor.start();
        if (!started.ok())
            return fail(QStringLiteral("No se puede iniciar el procesador de textos: %1%2")
                            .arg(started.error().description, notSaved()));
        WordProcessor* wp = started.value();
        wp->setVisible(false);
        auto added = wp->addDocument(path);
        if (!added.ok()) {
            m_editor.wordProcessor.closeAndForget();
            return fail(QStringLiteral("No se puede abrir la plantilla de la solicitud:\n%1\n%2%3")
                            .arg(QDir::toNativeSeparators(path), added.error().description, notSaved()));
        }
        m_doc = added.value();
        return {};
    }

    // The document exists but could not be filled: nothing is saved.
    Error fillFailed(const Error& error) {
        m_editor.wordProcessor.closeAndForget();
        return Error::told(
            error.number,
            QStringLiteral("No se ha podido rellenar la solicitud: %1%2").arg(error.description, notSaved()),
            programTitle(), MessageIcon::Critical);
    }

    // The application was saved but cannot go onto paper as it is: nothing is printed.
    Error printFailed(const Error& error) {
        m_editor.wordProcessor.closeAndForget();
        return Error::told(error.number,
                           QStringLiteral("No se ha podido preparar la impresión de la solicitud: "
                                          "%1\nLa solicitud no se ha impreso.")
                               .arg(error.description),
                           printingTitle(), MessageIcon::Critical);
    }

    static Error listTableMissing(ListKind kind) {
        return Error::make(
            ErrorCode::ObjectMissing,
            QStringLiteral("La plantilla no tiene la tabla de la lista de %1.").arg(listName(kind)));
    }

    Status fillBookmarks(const QDateTime& printedAt) {
        VELMORA_TRY(skipMissingMember(
            m_doc->setBookmarkText(QStringLiteral("DNICAB"), m_editor.model.text(ctl::txtDNI))));
        VELMORA_TRY(skipMissingMember(m_doc->setBookmarkText(
            QStringLiteral("FECHAIMPR"), printedAt.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') +
                                             printedAt.toString(QStringLiteral("HH:mm:ss")))));
        return skipMissingMember(m_doc->setBookmarkText(QStringLiteral("BORRADOR"),
                                                        m_draft ? QStringLiteral("BORRADOR") : QString()));
    }

    // Every control counts on the bar; a field the template lacks is skipped.
    Status fillFields() {
        const bool noCurrentPost = !m_older && m_editor.model.isSelected(ctl::OptNo);
        for (const FormControl& control : m_editor.model.controls()) {
            m_progress.advance(1);
            if (control.tag.isEmpty())
                continue;
            switch (control.kind) {
            case ControlKind::TextBox:
                VELMORA_TRY(skipMissingMember(m_doc->setFieldResult(control.tag, control.text)));
                break;
            case ControlKind::OptionButton:
                VELMORA_TRY(skipMissingMember(m_doc->setCheckBox(
                    control.tag, control.selected && !(noCurrentPost && isCurrentPostBox(control.tag)))));
                break;
            case ControlKind::DropDown:
                VELMORA_TRY(skipMissingMember(m_doc->setFieldResult(control.tag, control.text)));
                VELMORA_TRY(
                    skipMissingMember(m_doc->setFieldResult(control.tag + QLatin1Char('1'), control.text)));
                break;
            case ControlKind::Frame:
            case ControlKind::Label:
                break;
            }
        }
        m_progress.yieldToEvents();
        return {};
    }

    // The courses table, when the template has one (a template without it prints no courses
    // only while there are none to print).
    Result<std::optional<ListOnPaper>> fillCourses(ListRows& courses) {
        Result<Table> table = m_doc->table(TemplateTables::kCourses);
        if (!table.ok())
            return courses.count == 0 ? Result<std::optional<ListOnPaper>>(std::nullopt)
                                      : listTableMissing(ListKind::Courses);
        ListOnPaper list(ListKind::Courses, table.value());
        VELMORA_TRY(m_lists->fillTableList(list, courses));
        return std::optional<ListOnPaper>(std::move(list));
    }

    // Vacancies and resultas: pages of rows, each closed by its barcode.
    Status fillPositionList(ListOnPaper& list, ListRows& rows, BarcodeKind kind, int& page, bool breakAfter) {
        const int perPage = PositionsPerPage::fromText(m_editor.positionsPerPage).count;
        const RecordSet& source =
            kind == BarcodeKind::Resultas ? m_editor.lists.resultas : m_editor.lists.vacancies;
        return m_lists->fillPositionList(
            list, rows, perPage, breakAfter, [&](Cursor& at, const QString& data) {
                if (!m_draft)
                    insertBarcode(at, kind, page, data, kListBarcodeHeight,
                                  [&] { return listBarcodeTooLong(kind, source); });
                ++page;
            });
    }

    // The print record's barcode has its own place on the first page; a draft carries none.
    Status firstPageBarcode() {
        Result<Table> table = m_doc->table(TemplateTables::kFirstPageBarcode);
        Result<Cursor> cell = table.ok() ? table.value().cellCursor(1, 1) : Result<Cursor>(table.error());
        if (!cell.ok()) {
            if (m_draft)
                return {};
            return Error::make(ErrorCode::ObjectMissing,
                               QStringLiteral("La plantilla no tiene el sitio del código de barras de la "
                                              "primera página."));
        }
        Cursor& at = cell.value();
        at.insertLineBreak();
        if (!m_draft)
            insertBarcode(at, BarcodeKind::FirstPage, 1, m_editor.printRecord, kFirstPageBarcodeHeight,
                          [&] { return firstPageBarcodeTooLong(m_editor.model); });
        at.setAlignment(Alignment::Center);
        at.insertLineBreak();
        return at.status();
    }

    // A barcode that cannot be made is kept as the reason the print stops (the first one
    // only); the document is still built so that its save is complete. An encoder that
    // cannot hold the data says so through `tooLong`, a page past the barcode's page field is
    // told as it is; any other failure gives its own cause.
    void insertBarcode(Cursor& at, BarcodeKind kind, int page, const QString& data, qint16 height,
                       const std::function<QString()>& tooLong) {
        if (m_barcodeFailure)
            return;
        const Status inserted = m_barcodes->insert(at, kind, page, data, height);
        if (inserted.ok())
            return;
        const int why = inserted.error().number;
        m_barcodeFailure =
            why == ErrorCode::InvalidProcedureCall ? tooLong()
            : why == ErrorCode::Overflow
                ? inserted.error().description
                : QStringLiteral("No se ha podido preparar un código de barras de la solicitud: "
                                 "%1\nLa solicitud no se ha impreso.")
                      .arg(inserted.error().description);
    }

    // Step 8: the document and its XML companion, saved as one unit. Without either the
    // saved application is incomplete: nothing more is done.
    Status saveDocument() {
        Result<QByteArray> bytes = m_doc->toBytes();
        if (!bytes.ok()) {
            m_editor.wordProcessor.closeAndForget();
            return Error::told(
                bytes.error().number,
                QStringLiteral("No se ha podido guardar la solicitud en %1:\n%2")
                    .arg(QDir::toNativeSeparators(m_out.documentPath), bytes.error().description),
                programTitle(), MessageIcon::Critical);
        }
        if (const Status saved = saveApplicationPair(m_folder, m_fileName, bytes.value(), m_editor.lists,
                                                     m_editor.folders.program);
            !saved.ok()) {
            m_editor.wordProcessor.closeAndForget();
            return saved;
        }
        return {};
    }

    // Lays the document out, numbers the list barcodes by the page each landed on, reads
    // every barcode back from its place as it will print, and only then prints those pages.
    Result<ApplicationPrintout> printDocument() {
        auto laidOut = std::make_shared<DocumentLayout>(*m_doc);
        DocumentLayout& layout = *laidOut;
        if (Status checked = checkBarcodes(layout); !checked.ok()) {
            m_editor.wordProcessor.closeAndForget();
            return Error::told(checked.error().number, checked.error().description, printingTitle(),
                               MessageIcon::Critical);
        }
        m_out.barcodes = m_barcodes->texts();
        if (m_editor.preview) {
            if (!layout.status().ok())
                return printFailed(layout.status().error());
            m_out.pages = std::move(laidOut);
            m_editor.wordProcessor.closeAndForget();
            return m_out;
        }
        Result<PrintOutcome> printed = PrintOutcome{};
        if (!m_editor.pdfPath.isEmpty()) {
            auto pages = DocumentPrinter::writePdf(layout, m_editor.pdfPath,
                                                   QFileInfo(m_out.documentPath).completeBaseName());
            if (pages.ok())
                printed = PrintOutcome{false, QString(), m_editor.pdfPath, pages.value()};
            else
                printed = pages.error();
        } else {
            printed =
                DocumentPrinter::print(layout, m_out.documentPath, m_editor.destination, m_editor.printers);
        }
        if (!printed.ok()) {
            m_editor.wordProcessor.closeAndForget();
            return Error::told(
                printed.error().number,
                QStringLiteral("No se ha podido imprimir la solicitud: %1").arg(printed.error().description),
                printingTitle(), MessageIcon::Critical);
        }
        m_out.printed = true;
        m_out.outcome = printed.value();
        if (!m_editor.forSigning)
            m_out.notice = printoutNotice();
        return m_out;
    }

    // "IMPORTANTE" tells to wait for the sheets of a printer. A printout that went into a PDF
    // instead (no default printer, or a PDF asked for) is not being printed: the user is told
    // where it is, to print it from there, and may have it opened.
    PrintoutNotice printoutNotice() const {
        const PrintOutcome& outcome = m_out.outcome;
        if (outcome.printed || outcome.pdfPath.isEmpty())
            return PrintoutNotice{printingNotice(), printingTitle(), MessageIcon::Information, QString()};
        const bool noPrinter =
            m_editor.pdfPath.isEmpty() && m_editor.destination == PrintDestination::Automatic;
        const QString text =
            QStringLiteral(
                "%1La solicitud no se ha enviado a ninguna impresora: está en el documento PDF\n%2\n"
                "Imprímala desde ese documento. ¿Desea abrirlo ahora?")
                .arg(noPrinter ? QStringLiteral("No hay ninguna impresora predeterminada. ") : QString(),
                     QDir::toNativeSeparators(outcome.pdfPath));
        return PrintoutNotice{text, printingTitle(), MessageIcon::Question, outcome.pdfPath};
    }

    Status checkBarcodes(DocumentLayout& layout) {
        VELMORA_TRY(m_barcodes->numberByPage(layout));
        return m_barcodes->verify(layout);
    }

    TemplateGeneration m_generation;
    bool m_older;
    QString m_fileName;
    QString m_folder;
    PrintingEditor& m_editor;
    Progress& m_progress;
    Pdf417Writer& m_barcode;
    bool m_print;
    bool m_draft;
    ListTableWriter* m_lists = nullptr; // while run() fills the lists
    Document* m_doc = nullptr;
    QString m_header;
    std::optional<PrintBarcodes> m_barcodes;
    std::optional<QString> m_barcodeFailure;
    ApplicationPrintout m_out;
};

Result<ApplicationPrintout> imprimeSolicitud(TemplateGeneration generation, const QString& fileName,
                                             const QString& folder, PrintingEditor& editor,
                                             Progress& progress, Pdf417Writer& barcode, bool print,
                                             bool draft) {
    return ApplicationDocumentRoutine(generation, fileName, folder, editor, progress, barcode, print, draft)
        .run();
}

} // namespace

QString templatePath(const QString& dataFolder, const QString& templateFolderKey,
                     TemplateGeneration generation) {
    return QDir(QDir(dataFolder).filePath(templateFolderKey)).filePath(templateFileName(generation));
}

Result<ApplicationPrintout> ImprimeSolicitudWXP(const QString& fileName, const QString& folder,
                                                PrintingEditor& editor, Progress& progress,
                                                Pdf417Writer& barcode, bool print, bool draft) {
    return imprimeSolicitud(TemplateGeneration::Current, fileName, folder, editor, progress, barcode, print,
                            draft);
}

Result<ApplicationPrintout> ImprimeSolicitudW97(const QString& fileName, const QString& folder,
                                                PrintingEditor& editor, Progress& progress,
                                                Pdf417Writer& barcode, bool print, bool draft) {
    return imprimeSolicitud(TemplateGeneration::Legacy, fileName, folder, editor, progress, barcode, print,
                            draft);
}

namespace {

// The routine of the word processor's generation, into `folder`, with `action` on the
// progress window.
Result<ApplicationPrintout> runRoutine(PrintingEditor& editor, ProgressWindow& progress,
                                       Pdf417Writer& barcode, const QString& wordProcessorVersion,
                                       const QString& folder, const QString& action, bool print, bool draft) {
    const QString fileName = applicationFileNameOf(editor.model);
    progress.showAction(action);
    // Read as the number it starts with: "16" and "16.0" both give 16.
    bool isNumber = false;
    const int version = wordProcessorVersion.section(QLatin1Char('.'), 0, 0).trimmed().toInt(&isNumber);
    const bool older = !isNumber || usesOlderTemplates(qint16(std::clamp(version, -32768, 32767)));
    auto result = older ? ImprimeSolicitudW97(fileName, folder, editor, progress, barcode, print, draft)
                        : ImprimeSolicitudWXP(fileName, folder, editor, progress, barcode, print, draft);
    progress.unload();
    return result;
}

} // namespace

Result<ApplicationPrintout> saveApplication(PrintingEditor& editor, ProgressWindow& progress,
                                            Pdf417Writer& barcode, const QString& wordProcessorVersion,
                                            bool print, bool draft) {
    editor.preview = false;
    return runRoutine(editor, progress, barcode, wordProcessorVersion, editor.folders.applications,
                      QStringLiteral("Guardando Datos ..."), print, draft);
}

Result<ApplicationPrintout> previewApplication(PrintingEditor& editor, ProgressWindow& progress,
                                               Pdf417Writer& barcode, const QString& wordProcessorVersion,
                                               bool draft) {
    // The barcode pictures pass through files; they live and die in a folder of their own.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha podido preparar la vista previa: %1").arg(scratch.errorString()));
    editor.preview = true;
    auto result = runRoutine(editor, progress, barcode, wordProcessorVersion, scratch.path(),
                             QStringLiteral("Preparando la vista previa ..."), true, draft);
    editor.preview = false;
    return result;
}

} // namespace velmora
