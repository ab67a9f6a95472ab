#pragma once

// Checks that an application form template holds what the printing and loading routines
// look up in it: every form field by name and kind, the bookmarks, and the tables at the
// numbers the routines use.

#include "editor/ApplicationModel.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/Table.h"
#include "printing/TemplateLayout.h"
#include "printing/TemplateWriter.h"

#include <gtest/gtest.h>

namespace velmora::test {

inline void expectCompleteTemplate(docengine::Document& doc, const TemplateKey& key,
                                   TemplateGeneration generation) {
    using namespace docengine;
    SCOPED_TRACE((key.folderName() + QLatin1Char('/') + templateFileName(generation)).toStdString());

    QStringList names = doc.formFieldNames();
    names.sort();
    EXPECT_EQ(names, templateFieldNames());

    // Each field has the kind its control writes: check boxes for option buttons, text
    // fields (holding nothing yet) for the rest, twins included.
    const ApplicationModel model;
    for (const FormControl* c : model.taggedControls()) {
        if (c->kind == ControlKind::OptionButton) {
            auto box = doc.checkBox(c->tag);
            EXPECT_TRUE(box.ok() && !box.value()) << c->tag.toStdString();
        } else {
            QStringList fields{c->tag};
            if (c->kind == ControlKind::DropDown)
                fields << c->tag + QLatin1Char('1');
            for (const QString& f : fields) {
                auto text = doc.fieldResult(f);
                EXPECT_TRUE(text.ok() && text.value().isEmpty()) << f.toStdString();
            }
        }
    }

    for (const QString& b : templateBookmarkNames()) {
        EXPECT_TRUE(doc.hasBookmark(b)) << b.toStdString();
        EXPECT_EQ(doc.bookmarkText(b).valueOr(u"?"_s), QString()) << b.toStdString();
    }

    const int tables = doc.tableCount();
    ASSERT_EQ(tables, TemplateTables::kLeadingTables + 3);

    // The first-page barcode (6000 twips wide, 2600 high) goes into an empty cell that holds it.
    Table barcode = doc.table(TemplateTables::kFirstPageBarcode).value();
    EXPECT_EQ(barcode.cellText(1, 1).valueOr(u"?"_s), QString());
    EXPECT_GE(barcode.columnWidth(1).valueOr(0), 6000 + 2 * 115);
    EXPECT_GE(barcode.rowHeight(1).valueOr(RowHeight{}).value, 2600);

    struct ListPlace {
        ListKind kind;
        int tab;
    };
    for (const ListPlace& p : {ListPlace{ListKind::Courses, EditorTab::Courses},
                               ListPlace{ListKind::Documents, EditorTab::Documents},
                               ListPlace{ListKind::Vacancies, EditorTab::Vacancies},
                               ListPlace{ListKind::Resultas, EditorTab::Resultas}}) {
        SCOPED_TRACE(listMarker(p.kind).toStdString());
        const ListTableShape shape = listTableShape(p.kind, generation);
        Table t = doc.table(listTableNumber(p.kind, tables)).value();
        EXPECT_EQ(t.columnWidths(), shape.widths);
        if (key.shows(p.tab)) {
            ASSERT_EQ(t.rowCount(), shape.headerRows.size());
            for (int r = 0; r < shape.headerRows.size(); ++r) {
                ASSERT_EQ(t.cellCount(r + 1), shape.headerRows.at(r).size());
                for (int c = 0; c < shape.headerRows.at(r).size(); ++c)
                    EXPECT_EQ(t.cellText(r + 1, c + 1).valueOr(QString()), shape.headerRows.at(r).at(c));
            }
            EXPECT_TRUE(t.hasBorders());
        } else {
            EXPECT_EQ(t.rowCount(), 1);
            EXPECT_FALSE(t.hasBorders());
        }
        // The older routine finds the place for a page break by the marker right below the table.
        auto marker = doc.findText(listMarker(p.kind));
        if (generation == TemplateGeneration::Legacy) {
            ASSERT_TRUE(marker.ok());
            EXPECT_TRUE(marker.value().inSameParagraphAs(doc.cursorAfter(t)));
        } else {
            EXPECT_FALSE(marker.ok());
        }
    }
}

} // namespace velmora::test
