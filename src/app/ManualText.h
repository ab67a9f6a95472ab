#pragma once

#include "platform/Result.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace velmora {

// One block of the user manual as its text files write it. Texts may hold "**bold**" passages.
struct ManualBlock {
    enum class Kind { Paragraph, Section, Steps, Bullets, Table, Note };
    Kind kind = Kind::Paragraph;
    QStringList items;       // the text (one item), or the list's items
    QList<int> columnParts;  // tables: each column's share of the text width
    QList<QStringList> rows; // tables: the header row first
};

struct ManualChapter {
    QString title;
    QList<ManualBlock> blocks;
};

// The cover page: "Clave: valor" lines, then the paragraphs under the titles.
struct ManualCover {
    QMap<QString, QString> fields;
    QList<ManualBlock> blocks;
};

// Reads the manual's plain-text format, kept simple so that whoever corrects the wording
// needs no programming:
//   # Capítulo            chapter title (the first line of a chapter file)
//   ## Apartado           numbered section of the chapter
//   text lines            a paragraph; lines are joined until a blank line
//   1. step               numbered steps (the numbers are recounted from 1)
//   - item                bullet list
//   > remark              shaded box headed "Importante"
//   | a | b |             table rows: the header row, then a row of dashes whose lengths give the
//   |---|-------|         columns' widths, then one line per row
// A line starting with blanks continues the step, item or remark above it.
Result<ManualChapter> parseManualChapter(const QString& text);
Result<ManualCover> parseManualCover(const QString& text);

} // namespace velmora
