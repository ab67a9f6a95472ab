#include "printing/TemplateLayout.h"

#include "platform/docengine/Cursor.h"
#include "platform/docengine/Table.h"

#include <QColor>

namespace velmora {

using namespace docengine;

namespace {

const QColor kHeaderShade(0xD9, 0xD9, 0xD9);

} // namespace

QString templateFileName(TemplateGeneration generation) {
    return generation == TemplateGeneration::Legacy ? QStringLiteral("PlantillaW97.dot")
                                                    : QStringLiteral("PlantillaWXP.dot");
}

int listTableNumber(ListKind kind, int tableCount) {
    switch (kind) {
    case ListKind::Courses:
        return TemplateTables::kCourses;
    case ListKind::Documents:
        return tableCount - 2;
    case ListKind::Vacancies:
        return tableCount - 1;
    case ListKind::Resultas:
        return tableCount;
    }
    return tableCount;
}

QString listMarker(ListKind kind) {
    switch (kind) {
    case ListKind::Courses:
        return QStringLiteral("-&C&-");
    case ListKind::Documents:
        return QStringLiteral("-&D&-");
    case ListKind::Vacancies:
        return QStringLiteral("-&V&-");
    case ListKind::Resultas:
        return QStringLiteral("-&R&-");
    }
    return {};
}

QString listName(ListKind kind) {
    switch (kind) {
    case ListKind::Courses:
        return QStringLiteral("cursos");
    case ListKind::Documents:
        return QStringLiteral("documentos");
    case ListKind::Vacancies:
        return QStringLiteral("vacantes");
    case ListKind::Resultas:
        return QStringLiteral("resultas");
    }
    return {};
}

ListTableShape listTableShape(ListKind kind, TemplateGeneration generation) {
    const bool legacy = generation == TemplateGeneration::Legacy;
    ListTableShape shape;
    switch (kind) {
    case ListKind::Courses:
        shape.widths = {4700, 1000, 900, 3038};
        shape.headerRows = {{QStringLiteral("Curso"), QStringLiteral("N Horas"), QStringLiteral("Año"),
                             QStringLiteral("Centro")}};
        break;
    case ListKind::Documents:
        if (legacy) {
            shape.widths = {1450, 4900, 3288};
            shape.headerRows = {
                {QStringLiteral("NºDocumento"), QStringLiteral("Documento"), QStringLiteral("Centro")}};
        } else {
            shape.widths = {1450, 3600, 900, 1150, 2538};
            shape.headerRows = {{QStringLiteral("NºDocumento"), QStringLiteral("Documento"),
                                 QStringLiteral("Horas"), QStringLiteral("Fecha"), QStringLiteral("Centro")}};
        }
        break;
    case ListKind::Vacancies:
        // Area names run to about thirty characters: the area column takes a share of the name columns.
        shape.widths = {1000, 1250, 1950, 1700, 1300, 1300, 1138};
        shape.headerRows = {
            {QStringLiteral("Orden\npreferencia"), QStringLiteral("Código\n(5 Dígitos)\nConvocatoria"),
             QStringLiteral("Denominación"), QStringLiteral("Institución Sanitaria"),
             legacy ? QStringLiteral("Localidad o Z.B.S.\n(Provincia)") : QStringLiteral("Z.B.S."),
             QStringLiteral("Área"), QStringLiteral("Demarcación")}};
        break;
    case ListKind::Resultas:
        shape.widths = {1000, 1250, 2700, 2500, 2188};
        shape.headerRows = {{QStringLiteral("Orden"), QStringLiteral("Código\n (5 Dígitos)"),
                             QStringLiteral("PUESTO DE TRABAJO")},
                            {QStringLiteral("preferencia"), QStringLiteral("Convocatoria"),
                             QStringLiteral("DENOMINACIÓN"), QStringLiteral("CONSEJERÍA"),
                             QStringLiteral("Localidad y Provincia")}};
        shape.merges = {{1, 3, 5}};
        break;
    }
    return shape;
}

PageSetup templatePageSetup() {
    PageSetup page;
    page.marginLeft = 1134;
    page.marginRight = 1134;
    page.marginTop = 851;
    page.marginBottom = 851;
    page.header = 425;
    page.footer = 425;
    return page;
}

RunFormat listHeaderFont() {
    return RunFormat{.font = QStringLiteral("Arial"), .size = 7, .bold = true};
}

RunFormat listDataFont() {
    return RunFormat{.font = QStringLiteral("Times New Roman"), .size = 9, .bold = false};
}

Status writeListHeader(Table& table, const ListTableShape& shape) {
    for (const ListTableShape::Merge& m : shape.merges)
        VELMORA_TRY(table.mergeCells(m.row, m.firstCell, m.lastCell));
    for (int r = 0; r < shape.headerRows.size(); ++r) {
        const int row = r + 1;
        const QStringList& texts = shape.headerRows.at(r);
        for (int c = 0; c < texts.size(); ++c) {
            VELMORA_TRY(table.setCellText(row, c + 1, texts.at(c)));
            VELMORA_TRY(table.setCellAlignment(row, c + 1, Alignment::Center));
            VELMORA_TRY(table.setCellShading(row, c + 1, kHeaderShade));
        }
        VELMORA_TRY(table.setRowFont(row, listHeaderFont()));
        VELMORA_TRY(table.setHeaderRow(row, true));
    }
    return {};
}

Result<Table> insertListTable(Cursor& at, ListKind kind, TemplateGeneration generation) {
    const ListTableShape shape = listTableShape(kind, generation);
    auto table = at.insertTable(static_cast<int>(shape.headerRows.size()),
                                static_cast<int>(shape.widths.size()), shape.widths);
    if (!table.ok())
        return table.error();
    VELMORA_TRY(writeListHeader(table.value(), shape));
    table.value().setBorders(true);
    return table;
}

Result<int> appendListRow(Table& table, const QStringList& texts) {
    auto row = table.addRow();
    if (!row.ok())
        return row;
    const int cells = table.cellCount(row.value());
    for (int c = 1; c <= cells; ++c) {
        VELMORA_TRY(table.setCellShading(row.value(), c, Qt::white));
        VELMORA_TRY(table.setCellAlignment(row.value(), c, Alignment::Left));
    }
    for (int c = 0; c < texts.size() && c < cells; ++c)
        VELMORA_TRY(table.setCellText(row.value(), c + 1, texts.at(c)));
    VELMORA_TRY(table.setRowFont(row.value(), listDataFont()));
    return row;
}

} // namespace velmora
