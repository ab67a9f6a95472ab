#pragma once

#include "platform/Result.h"
#include "platform/docengine/DocTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::docengine {
class Cursor;
class Table;
} // namespace velmora::docengine

namespace velmora {

// What the templates of the printed application hold and where, shared by the code that
// writes the templates and the code that fills documents made from them.
//
// Tables of a document made from a template, numbered from 1 in document order:
//   1  the first page's data form (form fields only, no list is written into it)
//   2  the first-page barcode: cell (1, 1), an empty cell of fixed height
//   3  the courses list (second page)
//   then possibly more tables, and at the very end, in this order,
//   the documents list, the vacancy list and the resultas list.
// The same numbers hold for every tab-visibility key: the list of a hidden tab keeps a
// borderless, headerless one-row table in its place, so nothing is renumbered.
// The vacancy list starts a new page; the resultas list follows it directly.

// The older word processors (version 8 or lower) use their own template, whose list
// tables carry a marker paragraph below them.
enum class TemplateGeneration { Current, Legacy };

QString templateFileName(TemplateGeneration generation); // "PlantillaWXP.dot", "PlantillaW97.dot"

enum class ListKind { Courses, Documents, Vacancies, Resultas };

namespace TemplateTables {
inline constexpr int kFirstPageForm = 1;
inline constexpr int kFirstPageBarcode = 2;
inline constexpr int kCourses = 3;
// The fixed tables before the trailing lists; a document has at least this many plus three.
inline constexpr int kLeadingTables = 3;
} // namespace TemplateTables

// Number of a trailing list's table (documents, vacancies, resultas) in a document that
// holds `tableCount` tables and has not yet had tables added after them; the courses list
// gives TemplateTables::kCourses whatever the count.
int listTableNumber(ListKind kind, int tableCount);

// The marker text the older template holds below a list's table ("-&C&-", "-&D&-",
// "-&V&-", "-&R&-"). It is hidden text: found by searching, never printed.
QString listMarker(ListKind kind);

// The list as messages name it: "cursos", "documentos", "vacantes", "resultas".
QString listName(ListKind kind);

// Columns and header of a list's table, as in the template and in every continuation
// table that printing adds.
struct ListTableShape {
    struct Merge {
        int row;
        int firstCell;
        int lastCell;
    };
    QList<docengine::Twips> widths; // one per data column; they fill the text width
    // Cell texts of the header rows, after the merges ('\n' is a line break).
    QList<QStringList> headerRows;
    QList<Merge> merges; // applied before the texts are written
};

ListTableShape listTableShape(ListKind kind, TemplateGeneration generation);

// The page of every template: A4 with 2 cm side margins.
docengine::PageSetup templatePageSetup();

// Formatting of the header rows and of the data rows.
docengine::RunFormat listHeaderFont();
docengine::RunFormat listDataFont();

// A new list table at `at` with its header rows, repeated on every page the table runs onto.
Result<docengine::Table> insertListTable(docengine::Cursor& at, ListKind kind, TemplateGeneration generation);
// Writes the merges and header texts of `shape` into the first rows of `table`.
Status writeListHeader(docengine::Table& table, const ListTableShape& shape);
// Appends a data row holding `texts`, in the data font and without the header's shading
// and bold type that a copied row would otherwise keep.
Result<int> appendListRow(docengine::Table& table, const QStringList& texts);

} // namespace velmora
