#include "printing/ApplicationDocument.h"

#include "applications/ApplicationFiles.h"
#include "editor/ApplicationChecks.h"
#include "editor/ApplicationModel.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/Table.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeText.h"
#include "printing/ListPages.h"
#include "printing/PrintingWordProcessor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace velmora {

using namespace docengine;

namespace {

constexpr qint16 kBarcodeWidth = 6000;
constexpr qint16 kFirstPageBarcodeHeight = 2000; // 2600 on the page
constexpr qint16 kListBarcodeHeight = 900;       // 1170 on the page
constexpr double kCoursesPrintSize = 10;
constexpr int kRunningNumber = -2; // a column that prints the row's number in the list

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

// The check boxes of the current post, which print unticked when the applicant holds none.
bool isCurrentPostBox(const QString& tag) {
    return tag == QLatin1String("TARVO") || tag == QLatin1String("SSOTROS") ||
           tag == QLatin1String("DEFINITIVO") || tag == QLatin1String("TEMPORAL");
}

QString paragraphText(const pugi::xml_node& paragraph) {
    QString text;
    for (pugi::xml_node n = paragraph.first_child(); n;) {
        if (!std::strcmp(n.name(), "w:t"))
            text += QString::fromUtf8(n.child_value());
        if (n.first_child() && std::strcmp(n.name(), "w:pPr") != 0 && std::strcmp(n.name(), "w:rPr") != 0) {
            n = n.first_child();
            continue;
        }
        while (n && n != paragraph && !n.next_sibling())
            n = n.parent();
        if (!n || n == paragraph)
            break;
        n = n.next_sibling();
    }
    return text;
}

bool onOff(const pugi::xml_node& n) {
    if (!n)
        return false;
    const char* v = n.attribute("w:val").value();
    return !(*v) || !(std::strcmp(v, "0") == 0 || std::strcmp(v, "false") == 0 || std::strcmp(v, "off") == 0);
}

// Rows of a list in the order they print, read through a cursor of their own.
struct ListRows {
    std::unique_ptr<RecordSet> rows;
    QList<int> columns; // column indexes; kRunningNumber for the row's number, -1 for a missing column
    int count = 0;

    ListRows(const RecordSet& list, const QStringList& names, const QString& fallbackSort) {
        if (!list.isOpen())
            return;
        rows = list.clone();
        const QString sort = list.sort().isEmpty() ? fallbackSort : list.sort();
        if (!sort.isEmpty())
            (void)rows->setSort(sort);
        rows->moveFirst();
        count = rows->recordCount();
        for (const QString& name : names)
            columns << (name.isEmpty() ? kRunningNumber : rows->columnIndex(name));
    }

    // The current row's texts; `number` is its position in the list, from 1.
    QStringList texts(int number) const {
        QStringList out;
        for (int column : columns)
            out << (column == kRunningNumber ? QString::number(number) : rows->text(column));
        return out;
    }
};

// A list as it goes onto paper: the template's table, the table that takes the next rows,
// and every table that got rows.
struct ListOnPaper {
    ListKind kind;
    Table first;
    Table current;
    int headerRows = 0;
    bool currentHasRows = false;
    std::vector<Table> filled;
    int pageBreaks = 0;

    ListOnPaper(ListKind k, Table table)
        : kind(k), first(table), current(table), headerRows(table.rowCount()) {}
};

QStringList dataColumns(ListKind kind, TemplateGeneration generation) {
    switch (kind) {
    case ListKind::Courses:
        return {QStringLiteral("Curso"), QStringLiteral("NHoras"), QStringLiteral("Ano"),
                QStringLiteral("Centro")};
    case ListKind::Documents:
        if (generation == TemplateGeneration::Legacy)
            return {QString(), QStringLiteral("Documento"), QStringLiteral("Centro")};
        return {QString(), QStringLiteral("Documento"), QStringLiteral("Horas"), QStringLiteral("Fecha"),
                QStringLiteral("Centro")};
    case ListKind::Vacancies:
        return {QStringLiteral("Orden"),           QStringLiteral("CodConvocatoria"),
                QStringLiteral("NomConvocatoria"), QStringLiteral("Consejeria"),
                QStringLiteral("Localidad"),       QStringLiteral("Area"),
                QStringLiteral("Demarcacion")};
    case ListKind::Resultas:
        return {QStringLiteral("Orden"), QStringLiteral("CodConvocatoria"), QStringLiteral("NomConvocatoria"),
                QStringLiteral("Consejeria"), QStringLiteral("Localidad")};
    }
    return {};
}

// Widths of the cells of a row: the grid's columns, or equal shares when cells were merged.
QList<Twips> cellWidths(const Table& table, int row) {
    QList<Twips> widths = table.columnWidths();
    const int cells = table.cellCount(row);
    if (widths.size() == cells || cells <= 0)
        return widths;
    Twips total = 0;
    for (Twips w : widths)
        total += w;
    return QList<Twips>(cells, total / cells);
}

// A cell copied from a header row keeps its shading; data cells have none.
void clearShading(Table& table, int row, int cell) {
    auto at = table.cellCursor(row, cell);
    if (!at.ok())
        return;
    pugi::xml_node tcPr = at.value().paragraph().parent().child("w:tcPr");
    if (tcPr)
        tcPr.remove_child("w:shd");
}

class ApplicationDocumentRoutine {
public:
    ApplicationDocumentRoutine(TemplateGeneration generation, const QString& fileName, const QString& folder,
                               PrintingEditor& editor, Progress& progress, Pdf417Writer& barcode, bool print,
                               bool draft)
        : m_generation(generation), m_older(generation == TemplateGeneration::Legacy), m_fileName(fileName),
          m_folder(folder), m_editor(editor), m_progress(progress), m_barcode(barcode), m_print(print),
          m_draft(draft) {
        m_dataFont = listDataFont();
        m_dataFont.font = typeface();
    }

    Result<ApplicationPrintout> run() {
        VELMORA_TRY(openDocument());
        m_out.documentPath = QDir(m_folder).filePath(m_fileName);
        m_out.sidecarPath = QDir(m_folder).filePath(sidecarFileName(m_fileName));

        ListRows courses(m_editor.lists.courses, dataColumns(ListKind::Courses, m_generation), QString());
        ListRows vacancies(m_editor.lists.vacancies, dataColumns(ListKind::Vacancies, m_generation),
                           QStringLiteral("Orden ASC"));
        ListRows resultas(m_editor.lists.resultas, dataColumns(ListKind::Resultas, m_generation),
                          QStringLiteral("Orden ASC"));
        ListRows documents(m_editor.lists.documents, dataColumns(ListKind::Documents, m_generation),
                           QString());

        m_progress.setMaximum(
            float(162 + courses.count + vacancies.count + resultas.count + documents.count));
        m_progress.setValue(0);
        const QDateTime printedAt = m_editor.clock.now();
        m_header = barcodeHeader(ClaveCodigoBarras(m_editor.model.text(u"txtDNI"),
                                                   m_editor.model.value(u"cboCuerpo"),
                                                   m_editor.model.value(u"cboGrupo")),
                                 printedAt);

        fillBookmarks(printedAt);
        fillFields();
        std::optional<ListOnPaper> coursesOnPaper = fillCourses(courses);
        VELMORA_TRY(saveDocument());

        if (!m_print) {
            m_editor.wordProcessor.closeAndForget();
            return m_out;
        }

        if (coursesOnPaper)
            for (Table& t : coursesOnPaper->filled) {
                t.setFont(RunFormat{.font = typeface(), .size = kCoursesPrintSize});
                t.setBorders(true);
            }
        firstPageBarcode();

        // The page counter that numbers the list barcodes: the courses fill the second
        // page, and every page break added to a list moves it on.
        int page = courses.count > 0 ? 2 : 1;
        if (coursesOnPaper)
            page += coursesOnPaper->pageBreaks;

        // The trailing lists are counted back from the end, past the courses tables.
        const int tables = m_doc->tableCount();
        const int lastCourses =
            TemplateTables::kCourses + (coursesOnPaper ? int(coursesOnPaper->pageBreaks) : 0);
        auto trailing = [&](ListKind kind) -> std::optional<ListOnPaper> {
            const int number = listTableNumber(kind, tables);
            if (number <= lastCourses)
                return std::nullopt;
            auto table = m_doc->table(number);
            if (!table.ok())
                return std::nullopt;
            return ListOnPaper(kind, table.value());
        };
        std::optional<ListOnPaper> documentsOnPaper = trailing(ListKind::Documents);
        std::optional<ListOnPaper> vacanciesOnPaper = trailing(ListKind::Vacancies);
        std::optional<ListOnPaper> resultasOnPaper = trailing(ListKind::Resultas);

        if (documentsOnPaper) {
            fillTableList(*documentsOnPaper, documents);
            page += documentsOnPaper->pageBreaks;
        }
        ++page; // the vacancy list begins
        if (vacanciesOnPaper)
            fillPositionList(*vacanciesOnPaper, vacancies, BarcodeKind::Vacancies, page, resultas.count > 0);
        if (resultasOnPaper)
            fillPositionList(*resultasOnPaper, resultas, BarcodeKind::Resultas, page, false);

        return printDocument();
    }

private:
    QString typeface() const {
        return m_older ? QStringLiteral("CG Times") : QStringLiteral("Times New Roman");
    }

    Status fail(const QString& text) {
        m_editor.messages.inform(text, programTitle(), MessageIcon::Critical);
        return Error::make(ErrorCode::FileNotFound, text);
    }

    // Steps 1 and 2: nothing is written before the template, the applications folder and
    // the word processor are all there.
    Status openDocument() {
        const QString path = templatePath(m_editor.folders.data, m_editor.templateFolderKey, m_generation);
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

    void fillBookmarks(const QDateTime& printedAt) {
        (void)m_doc->setBookmarkText(QStringLiteral("DNICAB"), m_editor.model.text(u"txtDNI"));
        (void)m_doc->setBookmarkText(QStringLiteral("FECHAIMPR"),
                                     printedAt.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') +
                                         printedAt.toString(QStringLiteral("HH:mm:ss")));
        (void)m_doc->setBookmarkText(QStringLiteral("BORRADOR"),
                                     m_draft ? QStringLiteral("BORRADOR") : QString());
    }

    // Every control counts on the bar; a field the template lacks is skipped.
    void fillFields() {
        const bool noCurrentPost = !m_older && m_editor.model.isSelected(u"OptNo");
        for (const FormControl& control : m_editor.model.controls()) {
            m_progress.advance(1);
            if (control.tag.isEmpty())
                continue;
            switch (control.kind) {
            case ControlKind::TextBox:
                (void)m_doc->setFieldResult(control.tag, control.text);
                break;
            case ControlKind::OptionButton:
                (void)m_doc->setCheckBox(control.tag, control.selected &&
                                                          !(noCurrentPost && isCurrentPostBox(control.tag)));
                break;
            case ControlKind::DropDown:
                (void)m_doc->setFieldResult(control.tag, control.text);
                (void)m_doc->setFieldResult(control.tag + QLatin1Char('1'), control.text);
                break;
            case ControlKind::Frame:
            case ControlKind::Label:
                break;
            }
        }
        m_progress.yieldToEvents();
    }

    std::optional<ListOnPaper> fillCourses(ListRows& courses) {
        auto table = m_doc->table(TemplateTables::kCourses);
        if (!table.ok())
            return std::nullopt;
        ListOnPaper list(ListKind::Courses, table.value());
        fillTableList(list, courses);
        return list;
    }

    // Courses and documents: a new table with the list's header on a new page every 35 rows.
    void fillTableList(ListOnPaper& list, ListRows& rows) {
        if (rows.count == 0)
            return;
        int number = 0;
        for (rows.rows->moveFirst(); !rows.rows->isEOF(); rows.rows->moveNext()) {
            if (number > 0 && number % kRowsPerListTable == 0)
                continueOnNewPage(list, nullptr);
            ++number;
            writeRow(list, rows.texts(number), nullptr);
            m_progress.advance(1);
            m_progress.yieldToEvents();
        }
    }

    // Vacancies and resultas: pages of rows, each closed by its barcode.
    void fillPositionList(ListOnPaper& list, ListRows& rows, BarcodeKind kind, int& page, bool breakAfter) {
        if (rows.count == 0)
            return;
        const int perPage = PositionsPerPage::fromText(m_editor.positionsPerPage).count;
        ListCellFitter fitter(m_dataFont, rowHeightFor(list, perPage));
        const std::vector<int> pages = listPageSizes(rows.count, perPage);
        rows.rows->moveFirst();
        int number = 0;
        for (size_t p = 0; p < pages.size(); ++p) {
            QString data;
            for (int i = 0; i < pages[p] && !rows.rows->isEOF(); ++i, rows.rows->moveNext()) {
                ++number;
                writeRow(list, rows.texts(number), &fitter);
                if (auto row = listRowBarcodeData(*rows.rows); row.ok())
                    data += row.value();
                m_progress.advance(1);
                m_progress.yieldToEvents();
            }
            Cursor below = listBarcode(list, kind, page, data);
            ++page;
            if (p + 1 < pages.size())
                continueOnNewPage(list, &below);
            else if (breakAfter)
                below.insertPageBreak();
        }
    }

    // The row height that lets a page of `perPage` rows, the table's header and the page's
    // barcode fit on one sheet.
    Twips rowHeightFor(const ListOnPaper& list, int perPage) const {
        const PageSetup page = m_doc->pageSetup();
        const qreal content = page.height - page.marginTop - page.marginBottom;
        qreal header = 0;
        const QList<Twips> widths = list.first.columnWidths();
        for (int r = 1; r <= list.headerRows; ++r) {
            const QList<Twips> cells = cellWidths(list.first, r);
            qreal height = 0;
            for (int c = 1; c <= cells.size(); ++c)
                if (auto text = list.first.cellText(r, c); text.ok())
                    height = std::max(
                        height, ListCellFitter::textHeight(text.value(), cells.at(c - 1), listHeaderFont()));
            if (auto set = list.first.rowHeight(r); set.ok() && set.value().rule != HeightRule::Auto)
                height = set.value().rule == HeightRule::Exact ? qreal(set.value().value)
                                                               : std::max(height, qreal(set.value().value));
            header += height;
        }
        const qreal line = ListCellFitter::lineHeight(RunFormat{.font = QStringLiteral("Arial"), .size = 10});
        const qreal barcode = barcodePlaceHeight(kListBarcodeHeight) + 4 * line;
        const qreal heading =
            2 * ListCellFitter::lineHeight(RunFormat{.font = QStringLiteral("Arial"), .size = 12}) + 240;
        const qreal room = content * 0.97 - header - barcode - heading;
        const Twips minimum = Twips(std::ceil(ListCellFitter::lineHeight(
            RunFormat{.font = m_dataFont.font, .size = ListCellFitter::kMinimumPoints})));
        return std::max(minimum, Twips(std::floor(room / std::max(1, perPage))));
    }

    void writeRow(ListOnPaper& list, const QStringList& texts, ListCellFitter* fitter) {
        Table& table = list.current;
        auto added = table.addRow();
        if (!added.ok())
            return;
        const int row = added.value();
        const int cells = table.cellCount(row);
        if (!list.currentHasRows) {
            // Later rows copy this one, so the header's look is undone once per table.
            for (int c = 1; c <= cells; ++c) {
                clearShading(table, row, c);
                (void)table.setCellAlignment(row, c, Alignment::Left);
            }
            (void)table.setRowHeight(row, RowHeight{});
            list.currentHasRows = true;
            list.filled.push_back(table);
        }
        (void)table.setRowFont(row, m_dataFont);
        const QList<Twips> widths = fitter ? cellWidths(table, row) : QList<Twips>();
        for (int c = 0; c < texts.size() && c < cells; ++c) {
            const QString& text = texts.at(c);
            if (text.isEmpty())
                continue;
            const double size = fitter && c < widths.size() ? fitter->sizeFor(text, widths.at(c)) : 0;
            if (!fitter || size == fitter->baseSize()) {
                (void)table.setCellText(row, c + 1, text);
            } else if (auto at = table.cellCursor(row, c + 1); at.ok()) {
                at.value().insertText(text, RunFormat{.font = m_dataFont.font, .size = size, .bold = false});
            }
        }
    }

    // An empty paragraph right below a table, for a barcode or a page break. The paragraph
    // that follows the table keeps its place and look; the new one has no spacing of its own.
    Cursor paragraphBelow(const ListOnPaper& list) {
        Cursor at = m_doc->cursorAfter(list.current);
        if (!at.isValid())
            return at;
        const QString text = paragraphText(at.paragraph());
        if (text.isEmpty() || (m_older && text == listMarker(list.kind)))
            return at;
        const bool breakBefore = onOff(at.paragraph().child("w:pPr").child("w:pageBreakBefore"));
        at.insertParagraph();
        if (breakBefore)
            at.setParagraphFormat(ParagraphFormat{.pageBreakBefore = true});
        at.movePreviousParagraph();
        at.setParagraphFormat(ParagraphFormat{
            .spaceBefore = 0, .spaceAfter = 0, .keepWithNext = false, .pageBreakBefore = false});
        return at;
    }

    // A page break and a new table with the list's header, its widths and header heights
    // copied from the template's table. The newer generation breaks right below the table
    // (or after the page's barcode); the older one before the list's marker.
    void continueOnNewPage(ListOnPaper& list, Cursor* after) {
        Cursor at = after ? *after : paragraphBelow(list);
        if (m_older) {
            Cursor from = after ? *after : m_doc->cursorAfter(list.current);
            if (auto found = m_doc->findText(listMarker(list.kind), &from); found.ok())
                at = found.value();
        }
        if (!at.isValid())
            return;
        at.insertPageBreak();
        ++list.pageBreaks;
        auto inserted = insertListTable(at, list.kind, m_generation);
        if (!inserted.ok())
            return;
        Table table = inserted.value();
        const QList<Twips> widths = list.first.columnWidths();
        if (widths.size() == table.columnCount())
            (void)table.setColumnWidths(widths);
        for (int r = 1; r <= std::min(list.headerRows, table.rowCount()); ++r)
            if (auto height = list.first.rowHeight(r); height.ok())
                (void)table.setRowHeight(r, height.value());
        list.current = table;
        list.currentHasRows = false;
    }

    // Below the page's last row: a line break, the barcode picture, another line break.
    Cursor listBarcode(ListOnPaper& list, BarcodeKind kind, int page, const QString& data) {
        Cursor at = paragraphBelow(list);
        at.setAlignment(Alignment::Center);
        at.insertLineBreak();
        if (!m_draft)
            insertBarcode(at, barcodeText(m_header, kind, page, data), kListBarcodeHeight);
        at.insertLineBreak();
        return at;
    }

    void firstPageBarcode() {
        auto table = m_doc->table(TemplateTables::kFirstPageBarcode);
        if (!table.ok())
            return;
        auto cell = table.value().cellCursor(1, 1);
        if (!cell.ok())
            return;
        Cursor& at = cell.value();
        at.insertLineBreak();
        if (!m_draft)
            insertBarcode(at, barcodeText(m_header, BarcodeKind::FirstPage, 1, m_editor.printRecord),
                          kFirstPageBarcodeHeight);
        at.setAlignment(Alignment::Center);
        at.insertLineBreak();
    }

    // The picture file is deleted once it is in the document, whatever happened to it.
    void insertBarcode(Cursor& at, QString text, qint16 height) {
        auto stem = GeneraCodigoBarras(text, m_barcode, kBarcodeWidth, height, m_folder, m_editor.clock);
        if (!stem.ok())
            return;
        const QString file = stem.value() + QStringLiteral(".bmp");
        if (at.insertPicture(file, QSize(kBarcodeWidth, height)).ok())
            m_out.barcodes << text;
        QFile::remove(file);
    }

    // Step 8: the XML companion, then the document.
    Status saveDocument() {
        (void)writeApplicationLists(sidecarFileName(m_fileName), m_folder, m_editor.lists,
                                    m_editor.folders.program, m_editor.messages);
        const Status saved = m_doc->saveAs(m_out.documentPath);
        if (!saved.ok()) {
            m_editor.wordProcessor.closeAndForget();
            m_editor.messages.inform(
                QStringLiteral("No se ha podido guardar la solicitud en %1:\n%2")
                    .arg(QDir::toNativeSeparators(m_out.documentPath), saved.error().description),
                programTitle(), MessageIcon::Critical);
            return saved;
        }
        return {};
    }

    Result<ApplicationPrintout> printDocument() {
        Result<PrintOutcome> printed = PrintOutcome{};
        if (!m_editor.pdfPath.isEmpty()) {
            auto pages = DocumentPrinter::writePdf(*m_doc, m_editor.pdfPath);
            if (pages.ok())
                printed = PrintOutcome{false, QString(), m_editor.pdfPath, pages.value()};
            else
                printed = pages.error();
        } else {
            printed = m_editor.wordProcessor.held()->printOut(m_doc, m_editor.destination);
        }
        if (!printed.ok()) {
            m_editor.wordProcessor.closeAndForget();
            m_editor.messages.inform(
                QStringLiteral("No se ha podido imprimir la solicitud: %1").arg(printed.error().description),
                printingTitle(), MessageIcon::Critical);
            return printed.error();
        }
        m_out.printed = true;
        m_out.outcome = printed.value();
        if (m_editor.host)
            m_editor.host->documentPrinted(m_out.outcome);
        m_editor.messages.inform(printingNotice(), printingTitle(), MessageIcon::Information);
        if (m_editor.host)
            m_editor.host->printingStarted();
        return m_out;
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
    RunFormat m_dataFont;
    Document* m_doc = nullptr;
    QString m_header;
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

Result<ApplicationPrintout> saveApplication(PrintingEditor& editor, ProgressWindow& progress,
                                            Pdf417Writer& barcode, const QString& wordProcessorVersion,
                                            bool print, bool draft) {
    const QString fileName = applicationFileNameOf(editor.model, editor.messages);
    if (fileName.isEmpty())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("No se ha podido formar el nombre de la solicitud."));
    progress.showAction(QStringLiteral("Guardando Datos ..."));
    // Read as the number it starts with: "16" and "16.0" both give 16.
    bool isNumber = false;
    const int version = wordProcessorVersion.section(QLatin1Char('.'), 0, 0).trimmed().toInt(&isNumber);
    const bool older = !isNumber || usesOlderTemplates(qint16(std::clamp(version, -32768, 32767)));
    auto result = older ? ImprimeSolicitudW97(fileName, editor.folders.applications, editor, progress,
                                              barcode, print, draft)
                        : ImprimeSolicitudWXP(fileName, editor.folders.applications, editor, progress,
                                              barcode, print, draft);
    progress.unload();
    return result;
}

} // namespace velmora
