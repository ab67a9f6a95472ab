#include "printing/TemplateWriter.h"

#include "editor/ApplicationModel.h"
#include "platform/CannotFail.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocumentData.h"
#include "platform/docengine/Table.h"

#include <QColor>
#include <QDir>
#include <QSet>

namespace velmora {

using namespace docengine;

namespace {

// ---- page and type ----------------------------------------------------------------------

// A4 with 2 cm side margins: the form's tables use the whole text width.
constexpr Twips kTextWidth = 11906 - 2 * 1134;
constexpr int kGridColumns = 12;

const QString kArial = QStringLiteral("Arial");
const QString kTimes = QStringLiteral("Times New Roman");

RunFormat arial(double size, bool bold = false) {
    return RunFormat{.font = kArial, .size = size, .bold = bold};
}
RunFormat labelFont() {
    return arial(6.5);
}
RunFormat valueFont() {
    return RunFormat{.font = kTimes, .size = 10, .bold = false};
}
RunFormat sectionFont() {
    return arial(8.5, true);
}

const QColor kSectionShade(0xBF, 0xBF, 0xBF);
const QColor kSubsectionShade(0xEE, 0xEE, 0xEE);

// ---- the first tab's fields -------------------------------------------------------------

// Writes each form field once and remembers which were written, so that the template can
// be completed with any field of the editor the layout below does not place.
class FieldWriter {
public:
    explicit FieldWriter(const ApplicationModel& model) : m_model(model) {}

    // The field of the tagged control `tag`, or its twin when `twin` is set; the kind
    // (text or check box) follows the control's.
    void field(Cursor& at, const QString& tag, bool twin = false) {
        const FormControl* control = m_model.findByTag(tag);
        if (!control || (twin && control->kind != ControlKind::DropDown))
            return;
        const QString name = twin ? tag + QLatin1Char('1') : tag;
        if (m_written.contains(name))
            return;
        m_written.insert(name);
        if (control->kind == ControlKind::OptionButton)
            at.insertCheckBox(name, false, 9);
        else
            at.setFont(valueFont()).insertTextField(name);
    }

    QStringList missing() const {
        QStringList out;
        for (const QString& name : templateFieldNames())
            if (!m_written.contains(name))
                out << name;
        return out;
    }

private:
    const ApplicationModel& m_model;
    QSet<QString> m_written;
};

// One cell of the first page's form grid.
struct FormCell {
    enum Style { Data, Section, Subsection };
    int span = kGridColumns;
    QString label;
    QString field;                                   // a text field under the label
    QList<std::pair<QString, QString>> choices = {}; // check boxes: tag and caption
    Style style = Data;
};
using FormRow = QList<FormCell>;

FormCell section(const QString& title) {
    return FormCell{kGridColumns, title, {}, {}, FormCell::Section};
}
FormCell subsection(const QString& title) {
    return FormCell{kGridColumns, title, {}, {}, FormCell::Subsection};
}
FormCell text(int span, const QString& label, const QString& tag) {
    return FormCell{span, label, tag};
}
FormCell choice(int span, const QString& label, QList<std::pair<QString, QString>> boxes) {
    return FormCell{span, label, {}, std::move(boxes)};
}

QList<FormRow> firstPageRows() {
    using P = std::pair<QString, QString>;
    const QString si = QStringLiteral("Sí");
    const QString no = QStringLiteral("No");
    return {
        {section(QStringLiteral("1. DATOS DEL CONCURSO"))},
        {choice(4, QStringLiteral("Forma de participación"),
                {P{QStringLiteral("VOLUNTARIO"), QStringLiteral("Voluntario")},
                 P{QStringLiteral("FORZOSO"), QStringLiteral("Forzoso")}}),
         choice(
             5, QStringLiteral("Condiciona su solicitud por convivencia familiar"),
             {P{QStringLiteral("SEACOMPAÑAPETICIONSI"), si}, P{QStringLiteral("SEACOMPAÑAPETICIONNO"), no}}),
         choice(3, QStringLiteral("Solicita reingreso"),
                {P{QStringLiteral("REINGRESOSI"), si}, P{QStringLiteral("REINGRESONO"), no}})},
        {subsection(QStringLiteral("Datos del/la solicitante con el/la que condiciona su solicitud"))},
        {text(3, QStringLiteral("Primer Apellido"), QStringLiteral("CONYUPRIMERAPELLIDO")),
         text(3, QStringLiteral("Segundo Apellido"), QStringLiteral("CONYUSEGUNDOAPELLIDO")),
         text(3, QStringLiteral("Nombre"), QStringLiteral("CONYUNOMBRE")),
         text(3, QStringLiteral("NIF"), QStringLiteral("NDNICONYUGE"))},
        {subsection(QStringLiteral("Preferencia que alega"))},
        {text(4, QStringLiteral("Localidad"), QStringLiteral("LOCALIDADPREFERENCIA")),
         text(4, QStringLiteral("Zona Básica de Salud (Z.B.S.)"), QStringLiteral("ZBSPREFERENCIA")),
         text(4, QStringLiteral("Área de Salud"), QStringLiteral("AREAPREFERENCIA"))},

        {section(QStringLiteral("2. DATOS PERSONALES"))},
        {text(4, QStringLiteral("Primer Apellido"), QStringLiteral("PRIMERAPELLIDO")),
         text(4, QStringLiteral("Segundo Apellido"), QStringLiteral("SEGUNDOAPELLIDO")),
         text(4, QStringLiteral("Nombre"), QStringLiteral("NOMBRE"))},
        {text(3, QStringLiteral("NIF"), QStringLiteral("NDNI")),
         text(3, QStringLiteral("Fecha de nacimiento"), QStringLiteral("FECHANACIMIENTO")),
         text(6, QStringLiteral("Domicilio (calle o plaza, número, piso)"), QStringLiteral("DOMICILIO"))},
        {text(4, QStringLiteral("Localidad"), QStringLiteral("LOCALIDAD")),
         text(3, QStringLiteral("Provincia"), QStringLiteral("PROVINCIA")),
         text(2, QStringLiteral("Código Postal"), QStringLiteral("CPOSTAL")),
         text(3, QStringLiteral("Teléfono"), QStringLiteral("TELEFONO"))},
        {choice(3, QStringLiteral("Discapacidad"),
                {P{QStringLiteral("DISCAPACIDADSI"), si}, P{QStringLiteral("DISCAPACIDADNO"), no}}),
         text(4, QStringLiteral("Tipo de discapacidad"), QStringLiteral("TIPODISCAPACIDAD")),
         text(5, QStringLiteral("Adaptaciones precisas"), QStringLiteral("ADAPTACIONESPRECISAS"))},

        {section(QStringLiteral("3. DATOS PROFESIONALES"))},
        {text(8, QStringLiteral("Categoría (cuerpo o escala)"), QStringLiteral("CUERPOOESCALA")),
         text(4, QStringLiteral("Grupo/Subgrupo"), QStringLiteral("GRUPO"))},
        {text(4, QStringLiteral("Nº Registro Personal"), QStringLiteral("NUMEROREGISTRO")),
         text(4, QStringLiteral("Fecha de ingreso en la categoría como fijo"),
              QStringLiteral("FECHAINGRESO")),
         choice(4, QStringLiteral("Situación administrativa"),
                {P{QStringLiteral("ACTIVO"), QStringLiteral("Activo")},
                 P{QStringLiteral("OTRAS"), QStringLiteral("Otras")}})},
        {text(8, QStringLiteral("Otra situación administrativa (especifique cuál)"),
              QStringLiteral("CUALOTRAS")),
         text(4, QStringLiteral("Fecha de la situación"), QStringLiteral("FECHASIT"))},
        {subsection(QStringLiteral("Destino actual"))},
        {choice(6, QStringLiteral("Carácter del destino"),
                {P{QStringLiteral("DEFINITIVO"), QStringLiteral("De carácter definitivo")},
                 P{QStringLiteral("TEMPORAL"), QStringLiteral("De carácter provisional")}}),
         text(3, QStringLiteral("Fecha de toma de posesión"), QStringLiteral("FECHAPOSESION")),
         choice(3, QStringLiteral("Servicio de Salud"),
                {P{QStringLiteral("TARVO"), QStringLiteral("TARVO")},
                 P{QStringLiteral("SSOTROS"), QStringLiteral("Otros")}})},
        {text(4, QStringLiteral("Otro Servicio de Salud (especifique cuál)"), QStringLiteral("SSCUALOTROS")),
         text(4, QStringLiteral("Provincia"), QStringLiteral("PROVINCIAACT")),
         text(4, QStringLiteral("Localidad/Z.B.S."), QStringLiteral("ZBSACT"))},
        {text(6, QStringLiteral("Institución"), QStringLiteral("INSTITUCIONACT")),
         text(3, QStringLiteral("Demarcación"), QStringLiteral("DESTDEMARCACION")),
         text(3, QStringLiteral("Localidad"), QStringLiteral("DESTLOCALIDAD"))},
        {subsection(QStringLiteral("Localización del destino actual en el catálogo del concurso"))},
        {text(3, QStringLiteral("Provincia"), QStringLiteral("PROVINCIAIxa")),
         text(3, QStringLiteral("Área de Salud"), QStringLiteral("AREAIxa")),
         text(3, QStringLiteral("Zona Básica de Salud"), QStringLiteral("ZBSIxa")),
         text(3, QStringLiteral("Localidad"), QStringLiteral("LOCALIDADIxa"))},
    };
}

// Room for the label and two lines of a value at the smallest size.
constexpr Twips kFormRowHeight = 520;

// A value longer than its place is set smaller, then cut with "…" on paper.
void fitTextInCell(Table& table, int row, int cell) {
    cannotFail(table.setCellFitText(row, cell, true)); // a cell of the form just built
}

void fillFormCell(Table& table, int row, int cell, const FormCell& content, FieldWriter& fields) {
    auto at = table.cellCursor(row, cell);
    if (!at.ok())
        return;
    Cursor& c = at.value();
    switch (content.style) {
    case FormCell::Section:
        c.insertText(content.label, sectionFont());
        cannotFail(table.setCellShading(row, cell, kSectionShade));
        return;
    case FormCell::Subsection:
        c.insertText(content.label, arial(7, true));
        cannotFail(table.setCellShading(row, cell, kSubsectionShade));
        return;
    case FormCell::Data:
        break;
    }
    c.setParagraphFormat(ParagraphFormat{.spaceBefore = 15});
    c.insertText(content.label, labelFont());
    c.insertParagraph();
    c.setParagraphFormat(ParagraphFormat{.spaceBefore = 30, .spaceAfter = 50});
    if (!content.field.isEmpty())
        fields.field(c, content.field);
    for (qsizetype i = 0; i < content.choices.size(); ++i) {
        if (i > 0)
            c.insertText(QStringLiteral("     "), valueFont());
        fields.field(c, content.choices.at(i).first);
        c.insertText(QStringLiteral(" ") + content.choices.at(i).second, arial(8));
    }
}

void writeFirstPageForm(DocumentBuilder& b, FieldWriter& fields) {
    const QList<FormRow> rows = firstPageRows();
    QList<Twips> grid;
    for (int i = 0; i < kGridColumns; ++i)
        grid << (i < kGridColumns - 1 ? kTextWidth / kGridColumns
                                      : kTextWidth - (kGridColumns - 1) * (kTextWidth / kGridColumns));
    Table form = b.table(grid, static_cast<int>(rows.size()), labelFont());
    for (int r = 0; r < rows.size(); ++r) {
        const FormRow& row = rows.at(r);
        int first = 1;
        for (int i = 0; i < row.size(); ++i) {
            if (row.at(i).span > 1)
                cannotFail(form.mergeCells(r + 1, first, first + row.at(i).span - 1));
            fillFormCell(form, r + 1, i + 1, row.at(i), fields);
            if (row.at(i).style == FormCell::Data)
                fitTextInCell(form, r + 1, i + 1);
            ++first;
        }
        // Every field has a fixed place, so that no text, however long, moves the barcode
        // and the signature off the first sheet.
        if (row.at(0).style == FormCell::Data)
            cannotFail(form.setRowHeight(r + 1, RowHeight{kFormRowHeight, HeightRule::Exact}));
    }
}

// ---- the parts around the form ----------------------------------------------------------

void writeHeading(DocumentBuilder& b) {
    b.paragraph(QStringLiteral("SERVICIO REGIONAL DE SALUD"), arial(8, true));
    b.paragraph(QStringLiteral("Dirección General de Recursos Humanos"), arial(7));
    b.paragraph(QStringLiteral("SOLICITUD DE PARTICIPACIÓN EN EL CONCURSO DE TRASLADOS"), arial(12, true),
                ParagraphFormat{.alignment = Alignment::Center, .spaceBefore = 60});
    b.paragraph(QStringLiteral("Personal estatutario del Servicio Regional de Salud"), arial(8),
                ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 60});
    Cursor& ids = b.paragraph(ParagraphFormat{.alignment = Alignment::Right}, arial(8));
    ids.insertText(QStringLiteral("NIF: "), arial(8)).insertBookmark(QStringLiteral("DNICAB"));
    ids.insertText(QStringLiteral("          Fecha y hora de impresión: "), arial(8))
        .insertBookmark(QStringLiteral("FECHAIMPR"));
    // The draft mark stands alone so that it takes the paragraph's large bold type.
    b.paragraph(ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 40}, arial(14, true))
        .insertBookmark(QStringLiteral("BORRADOR"));
}

void writeBarcodeAndSignature(DocumentBuilder& b) {
    const Twips barcodeWidth = 6300;
    Table t = b.table({barcodeWidth, kTextWidth - barcodeWidth}, 1, arial(8));
    // The barcode goes into an empty cell of fixed height, so a draft (without picture) and
    // an ordinary print lay out the same.
    cannotFail(t.setRowHeight(1, RowHeight{3250, HeightRule::AtLeast}));
    cannotFail(t.setCellAlignment(1, 1, Alignment::Center));
    auto sign = t.cellCursor(1, 2);
    if (!sign.ok())
        return;
    Cursor& c = sign.value();
    c.insertText(QStringLiteral("Lugar, fecha y firma del/la solicitante"), arial(7, true));
    c.insertParagraph();
    c.insertParagraph();
    c.insertText(QStringLiteral("En ___________________________,"), arial(8));
    c.insertParagraph();
    c.insertParagraph();
    c.insertText(QStringLiteral("a ____ de _________________ de ______"), arial(8));
    for (int i = 0; i < 5; ++i)
        c.insertParagraph();
    c.insertText(QStringLiteral("Fdo.: ______________________________"), arial(8));
}

void writeFirstPageClosing(DocumentBuilder& b) {
    b.paragraph(
        QStringLiteral("SR./SRA. DIRECTOR/A GENERAL DE RECURSOS HUMANOS DEL SERVICIO REGIONAL DE SALUD"),
        arial(8, true), ParagraphFormat{.spaceBefore = 100, .spaceAfter = 60});
    b.paragraph(
        QStringLiteral(
            "Protección de datos: los datos personales de esta solicitud serán tratados por el Servicio "
            "Regional de Salud con la única finalidad de gestionar el concurso de traslados, conforme al "
            "Reglamento (UE) 2016/679 y a la Ley Orgánica 3/2018, de Protección de Datos Personales y "
            "garantía de los derechos digitales. Puede ejercer sus derechos de acceso, rectificación, "
            "supresión, limitación del tratamiento, portabilidad y oposición ante la Dirección General de "
            "Recursos Humanos."),
        arial(6), ParagraphFormat{.alignment = Alignment::Justify});
}

// The first page's footer is a footer of its own; the other pages' footer is left empty
// for printing to write the applicant's running line and page number into.
void writeFooters(Document& doc) {
    Cursor f = doc.footerCursor();
    f.setAlignment(Alignment::Center);
    f.insertText(QStringLiteral("Solicitud de participación en el concurso de traslados - Página "),
                 arial(7));
    f.setFont(arial(7)).insertPageNumber();
    f.insertText(QStringLiteral(" de "), arial(7));
    f.setFont(arial(7)).insertPageCount();

    pugi::xml_node sect = doc.data()->finalSectPr();
    for (pugi::xml_node ref = sect.child("w:footerReference"); ref;
         ref = ref.next_sibling("w:footerReference"))
        ref.attribute("w:type").set_value("first");
    if (!sect.child("w:titlePg"))
        sect.append_child("w:titlePg");
    (void)doc.footerCursor(); // the default footer, empty
}

// The second page opens with the values of the drop-down lists once more (their "1"
// fields), so that every sheet of lists says for which category it was filled in.
void writeReferenceBlock(DocumentBuilder& b, FieldWriter& fields) {
    b.paragraph(QStringLiteral("SOLICITUD DE PARTICIPACIÓN EN EL CONCURSO DE TRASLADOS (continuación)"),
                arial(10, true), ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 120});
    b.paragraph(QStringLiteral("DATOS DE REFERENCIA DE LA SOLICITUD"), arial(8, true),
                ParagraphFormat{.spaceAfter = 40});
    struct Item {
        QString label;
        QString tag;
    };
    const QList<QList<Item>> lines = {
        {{QStringLiteral("Categoría: "), QStringLiteral("CUERPOOESCALA")},
         {QStringLiteral("Grupo/Subgrupo: "), QStringLiteral("GRUPO")}},
        {{QStringLiteral("Provincia del domicilio: "), QStringLiteral("PROVINCIA")}},
        {{QStringLiteral("Preferencia que alega. Localidad: "), QStringLiteral("LOCALIDADPREFERENCIA")},
         {QStringLiteral("Z.B.S.: "), QStringLiteral("ZBSPREFERENCIA")},
         {QStringLiteral("Área: "), QStringLiteral("AREAPREFERENCIA")}},
        {{QStringLiteral("Destino actual. Provincia: "), QStringLiteral("PROVINCIAIxa")},
         {QStringLiteral("Área: "), QStringLiteral("AREAIxa")},
         {QStringLiteral("Z.B.S.: "), QStringLiteral("ZBSIxa")},
         {QStringLiteral("Localidad: "), QStringLiteral("LOCALIDADIxa")}},
    };
    for (const QList<Item>& line : lines) {
        Cursor& c = b.paragraph(ParagraphFormat{.spaceAfter = 30}, arial(8));
        for (qsizetype i = 0; i < line.size(); ++i) {
            c.insertText((i > 0 ? QStringLiteral("     ") : QString()) + line.at(i).label, arial(8));
            fields.field(c, line.at(i).tag, true);
        }
    }
}

// Fields of the editor that the layout above does not place (none today) still belong in
// every template: the printing and loading routines look them up by name.
void writeRemainingFields(DocumentBuilder& b, FieldWriter& fields, const ApplicationModel& model) {
    const QStringList missing = fields.missing();
    if (missing.isEmpty())
        return;
    b.paragraph(QStringLiteral("Otros datos"), arial(8, true));
    for (const QString& name : missing) {
        const bool twin = !model.findByTag(name);
        const QString tag = twin ? name.chopped(1) : name;
        Cursor& c = b.paragraph({}, arial(8));
        c.insertText(name + QStringLiteral(": "), arial(8));
        fields.field(c, tag, twin);
    }
}

struct ListSection {
    ListKind kind;
    int tab;
    QString title;
};

void writeListSection(DocumentBuilder& b, const ListSection& s, bool visible, int number,
                      TemplateGeneration g) {
    if (visible) {
        b.paragraph(QStringLiteral("%1. %2").arg(number).arg(s.title), sectionFont(),
                    ParagraphFormat{.spaceBefore = 160, .spaceAfter = 60, .keepWithNext = true});
        // A copy: the table moves the cursor it is given into the paragraph below it, which
        // the builder must still treat as the next free paragraph.
        Cursor at = b.cursor();
        cannotFail(insertListTable(at, s.kind, g));
    } else {
        // A placeholder keeps the numbering of the tables after it; should rows ever be
        // written into it they show, without header.
        Table anchor = b.table(listTableShape(s.kind, g).widths, 1, listDataFont());
        anchor.setBorders(false);
    }
    if (g == TemplateGeneration::Legacy)
        b.paragraph(listMarker(s.kind), RunFormat{.font = kArial, .size = 6, .hidden = true});
}

} // namespace

QString TemplateKey::folderName() const {
    QString name = QStringLiteral("DOT_");
    for (bool v : visibleTabs)
        name += v ? QLatin1Char('1') : QLatin1Char('0');
    return name;
}

std::optional<TemplateKey> TemplateKey::fromFolderName(const QString& name) {
    if (name.size() != 9 || !name.startsWith(QLatin1String("DOT_")))
        return std::nullopt;
    TemplateKey key;
    for (int i = 0; i < 5; ++i) {
        const QChar d = name.at(4 + i);
        if (d != QLatin1Char('0') && d != QLatin1Char('1'))
            return std::nullopt;
        key.visibleTabs[static_cast<size_t>(i)] = d == QLatin1Char('1');
    }
    return key;
}

std::vector<TemplateKey> TemplateKey::all() {
    std::vector<TemplateKey> keys;
    for (int bits = 0; bits < 32; ++bits) {
        TemplateKey k;
        for (int i = 0; i < 5; ++i)
            k.visibleTabs[static_cast<size_t>(i)] = (bits >> (4 - i)) & 1;
        keys.push_back(k);
    }
    return keys;
}

QStringList templateFieldNames() {
    const ApplicationModel model;
    QStringList names;
    for (const FormControl* c : model.taggedControls()) {
        names << c->tag;
        if (c->kind == ControlKind::DropDown)
            names << c->tag + QLatin1Char('1');
    }
    names.removeDuplicates();
    names.sort();
    return names;
}

QStringList templateBookmarkNames() {
    return {QStringLiteral("DNICAB"), QStringLiteral("FECHAIMPR"), QStringLiteral("BORRADOR")};
}

Document buildApplicationTemplate(const TemplateKey& key, TemplateGeneration generation) {
    const ApplicationModel model;
    FieldWriter fields(model);
    Document doc;
    doc.setTemplate(true);
    doc.setPageSetup(templatePageSetup());
    doc.setDefaultFont(RunFormat{.font = kArial, .size = 9});
    doc.setDefaultParagraphFormat(ParagraphFormat{.spaceBefore = 0, .spaceAfter = 0, .lineSpacing = 1.0});
    writeFooters(doc);

    DocumentBuilder b(doc);
    writeHeading(b);
    writeFirstPageForm(b, fields); // table 1
    b.paragraph(ParagraphFormat{.spaceAfter = 80}, arial(4));
    writeBarcodeAndSignature(b); // table 2
    writeFirstPageClosing(b);

    b.pageBreak();
    writeReferenceBlock(b, fields);
    writeRemainingFields(b, fields, model);

    const ListSection courses{ListKind::Courses, EditorTab::Courses,
                              QStringLiteral("CURSOS DE FORMACIÓN DE FUNCIONARIOS (Base tercera 4.)")};
    const ListSection documents{ListKind::Documents, EditorTab::Documents,
                                QStringLiteral("DOCUMENTACIÓN QUE APORTA")};
    const ListSection vacancies{ListKind::Vacancies, EditorTab::Vacancies,
                                QStringLiteral("PUESTOS DE TRABAJO SOLICITADOS. PLAZAS VACANTES")};
    const ListSection resultas{ListKind::Resultas, EditorTab::Resultas,
                               QStringLiteral("PUESTOS DE TRABAJO SOLICITADOS. PLAZAS RESULTAS")};

    int number = 4; // after the three sections of the first page
    for (const ListSection& s : {courses, documents}) {
        const bool visible = key.shows(s.tab);
        writeListSection(b, s, visible, number, generation); // tables 3 and 4
        number += visible ? 1 : 0;
    }
    const bool secondPageUsed = key.shows(EditorTab::Courses) || key.shows(EditorTab::Documents);
    const bool positionsShown = key.shows(EditorTab::Vacancies) || key.shows(EditorTab::Resultas);
    if (secondPageUsed && positionsShown)
        b.pageBreak();
    for (const ListSection& s : {vacancies, resultas}) {
        const bool visible = key.shows(s.tab);
        writeListSection(b, s, visible, number, generation); // the last two tables
        number += visible ? 1 : 0;
    }
    return doc;
}

Status writeApplicationTemplates(const QString& dataFolder, const TemplateKey& key) {
    const QDir folder(QDir(dataFolder).filePath(key.folderName()));
    if (!QDir().mkpath(folder.path()))
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se puede crear la carpeta de plantillas %1.").arg(folder.path()));
    for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
        Document doc = buildApplicationTemplate(key, g);
        VELMORA_TRY(doc.saveAs(folder.filePath(templateFileName(g))));
    }
    return {};
}

Status writeAllApplicationTemplates(const QString& dataFolder) {
    for (const TemplateKey& key : TemplateKey::all())
        VELMORA_TRY(writeApplicationTemplates(dataFolder, key));
    return {};
}

} // namespace velmora
