#include "app/UserManualWriter.h"

#include "platform/CannotFail.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/Table.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace velmora {

using namespace docengine;

namespace {

const QString kArial = QStringLiteral("Arial");
const QString kTimes = QStringLiteral("Times New Roman");
const QColor kTableHeaderShade(0xD9, 0xE2, 0xF3);
const QColor kNoteShade(0xF2, 0xF2, 0xF2);
constexpr const char* kCoverFile = "00-portada.txt";

constexpr Twips kTextWidth = 11906 - 2 * 1418;

// Writes the manual's blocks. Body text may hold "**bold**" passages.
class ManualBuilder {
public:
    explicit ManualBuilder(Document& doc) : m_doc(doc), m_b(doc) {}

    void title(const QString& text, double size, const ParagraphFormat& format = {}) {
        m_b.paragraph(text, RunFormat{.font = kArial, .size = size, .bold = true}, format);
    }

    // Numbered chapter ("3. ...") and section ("3.2 ...") headings.
    void chapter(const QString& text) {
        ++m_chapter;
        m_section = 0;
        m_b.paragraph(QStringLiteral("%1. %2").arg(m_chapter).arg(text),
                      RunFormat{.font = kArial, .size = 14, .bold = true, .color = QColor(0x1F, 0x3A, 0x68)},
                      ParagraphFormat{.spaceBefore = 360, .spaceAfter = 120, .keepWithNext = true});
    }
    void section(const QString& text) {
        ++m_section;
        m_b.paragraph(QStringLiteral("%1.%2 %3").arg(m_chapter).arg(m_section).arg(text),
                      RunFormat{.font = kArial, .size = 11.5, .bold = true},
                      ParagraphFormat{.spaceBefore = 200, .spaceAfter = 80, .keepWithNext = true});
    }

    void para(const QString& text) {
        Cursor& c =
            m_b.paragraph(ParagraphFormat{.alignment = Alignment::Justify, .spaceAfter = 100}, body());
        rich(c, text, body());
    }

    // Numbered steps with a hanging indent.
    void steps(const QStringList& items) {
        int n = 0;
        for (const QString& item : items) {
            Cursor& c = m_b.paragraph(
                ParagraphFormat{.spaceAfter = 60, .indentLeft = 567, .firstLineIndent = -397}, body());
            c.insertText(QStringLiteral("%1.").arg(++n), body());
            c.insertTab();
            rich(c, item, body());
        }
        spacer();
    }

    void contents(const QStringList& entries) {
        for (const QString& entry : entries)
            m_b.paragraph(entry, RunFormat{.font = kArial, .size = 11},
                          ParagraphFormat{.spaceAfter = 80, .indentLeft = 567});
    }

    void bullets(const QStringList& items) {
        for (const QString& item : items) {
            Cursor& c = m_b.paragraph(
                ParagraphFormat{.spaceAfter = 60, .indentLeft = 567, .firstLineIndent = -283}, body());
            c.insertText(QStringLiteral("•"), body());
            c.insertTab();
            rich(c, item, body());
        }
        spacer();
    }

    // A table with a shaded header row; the widths are parts of the text width.
    void table(const QList<int>& parts, const QStringList& header, const QList<QStringList>& rows) {
        int total = 0;
        for (int p : parts)
            total += p;
        QList<Twips> widths;
        Twips used = 0;
        for (int i = 0; i < parts.size(); ++i) {
            const Twips w = i + 1 < parts.size() ? kTextWidth * parts.at(i) / total : kTextWidth - used;
            widths << w;
            used += w;
        }
        const RunFormat cellFont{.font = kArial, .size = 9};
        Table t = m_b.table(widths, 1, cellFont);
        for (int c = 0; c < header.size(); ++c) {
            if (auto at = t.cellCursor(1, c + 1); at.ok())
                at.value()
                    .setParagraphFormat(cellSpacing())
                    .insertText(header.at(c), RunFormat{.font = kArial, .size = 9, .bold = true});
            cannotFail(t.setCellShading(1, c + 1, kTableHeaderShade));
        }
        // Row 1 and its cells exist: the table was just made with one row of these columns.
        cannotFail(t.setRowFont(1, RunFormat{.bold = true}));
        cannotFail(t.setHeaderRow(1, true));
        for (const QStringList& row : rows) {
            auto r = t.addRow();
            if (!r.ok())
                return;
            for (int c = 0; c < row.size() && c < header.size(); ++c) {
                cannotFail(t.setCellShading(r.value(), c + 1, Qt::white));
                if (auto at = t.cellCursor(r.value(), c + 1); at.ok()) {
                    at.value().setParagraphFormat(cellSpacing());
                    rich(at.value(), row.at(c), RunFormat{.font = kArial, .size = 9, .bold = false});
                }
            }
        }
        spacer();
    }

    // A shaded box with a remark.
    void note(const QString& text) {
        Table t = m_b.table({kTextWidth}, 1, body());
        cannotFail(t.setCellShading(1, 1, kNoteShade));
        if (auto at = t.cellCursor(1, 1); at.ok()) {
            at.value().setParagraphFormat(ParagraphFormat{.spaceBefore = 60, .spaceAfter = 60});
            at.value().insertText(QStringLiteral("Importante: "),
                                  RunFormat{.font = kTimes, .size = 11, .bold = true});
            rich(at.value(), text, body());
        }
        spacer();
    }

    void pageBreak() { m_b.pageBreak(); }

private:
    static ParagraphFormat cellSpacing() { return ParagraphFormat{.spaceBefore = 30, .spaceAfter = 30}; }
    static RunFormat body() { return RunFormat{.font = kTimes, .size = 11, .bold = false}; }

    void spacer() { m_b.paragraph(ParagraphFormat{.spaceAfter = 0}, RunFormat{.font = kTimes, .size = 6}); }

    static void rich(Cursor& c, const QString& text, const RunFormat& base) {
        const QStringList parts = text.split(QStringLiteral("**"));
        for (int i = 0; i < parts.size(); ++i) {
            if (parts.at(i).isEmpty())
                continue;
            RunFormat f = base;
            f.bold = (i % 2) == 1;
            c.insertText(parts.at(i), f);
        }
    }

    Document& m_doc;
    DocumentBuilder m_b;
    int m_chapter = 0;
    int m_section = 0;
};

void writeBlocks(ManualBuilder& m, const QList<ManualBlock>& blocks) {
    for (const ManualBlock& block : blocks) {
        switch (block.kind) {
        case ManualBlock::Kind::Paragraph:
            m.para(block.items.first());
            break;
        case ManualBlock::Kind::Section:
            m.section(block.items.first());
            break;
        case ManualBlock::Kind::Steps:
            m.steps(block.items);
            break;
        case ManualBlock::Kind::Bullets:
            m.bullets(block.items);
            break;
        case ManualBlock::Kind::Table:
            m.table(block.columnParts, block.rows.first(), block.rows.mid(1));
            break;
        case ManualBlock::Kind::Note:
            m.note(block.items.first());
            break;
        }
    }
}

void coverAndContents(ManualBuilder& m, const ManualCover& cover, const QList<ManualChapter>& chapters) {
    m.title(cover.fields.value(QStringLiteral("Organismo")), 12,
            ParagraphFormat{.alignment = Alignment::Center, .spaceBefore = 2400});
    m.title(cover.fields.value(QStringLiteral("Dirección")), 10,
            ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 1200});
    m.title(cover.fields.value(QStringLiteral("Título")), 28,
            ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 240});
    m.title(cover.fields.value(QStringLiteral("Subtítulo")), 14,
            ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 2400});
    writeBlocks(m, cover.blocks);
    m.pageBreak();

    m.title(cover.fields.value(QStringLiteral("Contenido")), 16, ParagraphFormat{.spaceAfter = 200});
    QStringList entries;
    for (const ManualChapter& chapter : chapters)
        entries << QStringLiteral("%1. %2").arg(entries.size() + 1).arg(chapter.title);
    m.contents(entries);
    m.pageBreak();
}

// The footer line with "{página}" and "{páginas}" standing for the page number and the page count.
void writeFooter(Document& doc, const QString& pattern) {
    const RunFormat font{.font = kArial, .size = 8};
    Cursor footer = doc.footerCursor();
    footer.setAlignment(Alignment::Center);
    static const QRegularExpression field(QStringLiteral("\\{(página|páginas)\\}"));
    qsizetype from = 0;
    for (auto it = field.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedStart() > from)
            footer.insertText(pattern.mid(from, match.capturedStart() - from), font);
        if (match.captured(1) == QStringLiteral("página"))
            footer.setFont(font).insertPageNumber();
        else
            footer.setFont(font).insertPageCount();
        from = match.capturedEnd();
    }
    if (from < pattern.size())
        footer.insertText(pattern.mid(from), font);
}

Result<QString> readManualText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("No se encontró el texto del manual %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString userManualPath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("Manual de Usuario.doc"));
}

QString findUserManual(const QString& programFolder, const QString& executableFolder) {
    const QString own = userManualPath(programFolder);
    if (QFileInfo::exists(own))
        return own;
    // Resolved by name, not through the file system: the same answer wherever the folders are.
    const QString installed =
        userManualPath(QDir::cleanPath(executableFolder + QStringLiteral("/../share/velmora")));
    return QFileInfo::exists(installed) ? installed : own;
}

Result<UserManualText> readUserManualText(const QString& folder) {
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (!files.contains(QLatin1String(kCoverFile)))
        return Error::make(ErrorCode::FileNotFound, QStringLiteral("No se encontró el texto del manual %1")
                                                        .arg(dir.filePath(QLatin1String(kCoverFile))));
    UserManualText text;
    for (const QString& name : files) {
        auto content = readManualText(dir.filePath(name));
        if (!content)
            return content.error();
        if (name == QLatin1String(kCoverFile)) {
            auto cover = parseManualCover(*content);
            if (!cover)
                return Error::make(cover.error().number,
                                   name + QStringLiteral(": ") + cover.error().description);
            text.cover = std::move(cover).value();
            continue;
        }
        auto chapter = parseManualChapter(*content);
        if (!chapter)
            return Error::make(chapter.error().number,
                               name + QStringLiteral(": ") + chapter.error().description);
        text.chapters.append(std::move(chapter).value());
    }
    return text;
}

Document buildUserManual(const UserManualText& text) {
    Document doc;
    PageSetup page;
    page.marginLeft = 1418;
    page.marginRight = 1418;
    doc.setPageSetup(page);
    doc.setDefaultFont(RunFormat{.font = kTimes, .size = 11});
    doc.setDefaultParagraphFormat(ParagraphFormat{.spaceBefore = 0, .spaceAfter = 0, .lineSpacing = 1.0});
    writeFooter(doc, text.cover.fields.value(QStringLiteral("Pie")));

    ManualBuilder m(doc);
    coverAndContents(m, text.cover, text.chapters);
    for (const ManualChapter& chapter : text.chapters) {
        m.chapter(chapter.title);
        writeBlocks(m, chapter.blocks);
    }
    return doc;
}

Result<Document> buildUserManual() {
    auto text = readUserManualText(QLatin1String(kManualResourceFolder));
    if (!text)
        return text.error();
    return buildUserManual(*text);
}

Status writeUserManual(const QString& programFolder) {
    auto doc = buildUserManual();
    if (!doc)
        return doc.error();
    return doc.value().saveAs(userManualPath(programFolder));
}

} // namespace velmora
