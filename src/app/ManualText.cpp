#include "app/ManualText.h"

#include <QRegularExpression>

#include <utility>

namespace velmora {
namespace {

using Kind = ManualBlock::Kind;

Error lineError(int lineNumber, const QString& what) {
    return Error::make(ErrorCode::InvalidProcedureCall,
                       QStringLiteral("Manual de usuario, línea %1: %2").arg(lineNumber).arg(what));
}

ManualBlock makeBlock(Kind kind, QStringList items = {}) {
    ManualBlock block;
    block.kind = kind;
    block.items = std::move(items);
    return block;
}

QStringList tableCells(const QString& line) {
    QString inner = line.trimmed().mid(1);
    if (inner.endsWith(QLatin1Char('|')))
        inner.chop(1);
    QStringList cells = inner.split(QLatin1Char('|'));
    for (QString& cell : cells)
        cell = cell.trimmed();
    return cells;
}

// Groups lines into blocks; a block stays open while its lines continue it.
class BlockReader {
public:
    Status read(const QString& line, int lineNumber) {
        static const QRegularExpression step(QStringLiteral("^\\d+\\.\\s+"));
        if (line.trimmed().isEmpty())
            return close();
        if (line.front().isSpace())
            return continueItem(line.trimmed(), lineNumber);
        if (line.startsWith(QLatin1String("## "))) {
            VELMORA_TRY(close());
            m_blocks.append(makeBlock(Kind::Section, {line.mid(3).trimmed()}));
            return {};
        }
        if (line.startsWith(QLatin1Char('#')))
            return lineError(lineNumber, QStringLiteral("sólo la primera línea puede ser el título (# ...)"));
        if (line.startsWith(QLatin1Char('|')))
            return tableRow(tableCells(line), lineNumber);
        if (const auto match = step.match(line); match.hasMatch())
            return item(Kind::Steps, line.mid(match.capturedLength()));
        if (line.startsWith(QLatin1String("- ")))
            return item(Kind::Bullets, line.mid(2).trimmed());
        if (line.startsWith(QLatin1String("> "))) {
            VELMORA_TRY(close());
            return open(Kind::Note, line.mid(2).trimmed());
        }
        if (m_open && m_open->kind == Kind::Paragraph)
            return continueItem(line.trimmed(), lineNumber);
        VELMORA_TRY(close());
        return open(Kind::Paragraph, line.trimmed());
    }

    Result<QList<ManualBlock>> finish() {
        if (Status closed = close(); !closed)
            return closed.error();
        return m_blocks;
    }

private:
    Status open(Kind kind, const QString& text) {
        m_blocks.append(makeBlock(kind, {text}));
        m_open = &m_blocks.last();
        return {};
    }

    Status item(Kind kind, const QString& text) {
        if (m_open && m_open->kind == kind) {
            m_open->items.append(text);
            return {};
        }
        VELMORA_TRY(close());
        return open(kind, text);
    }

    Status continueItem(const QString& text, int lineNumber) {
        if (!m_open || m_open->kind == Kind::Table)
            return lineError(lineNumber, QStringLiteral("una línea sangrada debe continuar un párrafo, "
                                                        "un paso, un punto o una nota"));
        m_open->items.last() += QLatin1Char(' ') + text;
        return {};
    }

    Status tableRow(const QStringList& cells, int lineNumber) {
        if (!m_open || m_open->kind != Kind::Table) {
            VELMORA_TRY(close());
            m_blocks.append(makeBlock(Kind::Table));
            m_blocks.last().rows.append(cells);
            m_openedAt = lineNumber;
            m_open = &m_blocks.last();
            return {};
        }
        const qsizetype columns = m_open->rows.first().size();
        if (cells.size() != columns)
            return lineError(
                lineNumber,
                QStringLiteral("la fila tiene %1 columnas y la cabecera %2").arg(cells.size()).arg(columns));
        if (m_open->columnParts.isEmpty()) {
            static const QRegularExpression dashes(QStringLiteral("^-+$"));
            for (const QString& cell : cells) {
                if (!dashes.match(cell).hasMatch())
                    return lineError(lineNumber, QStringLiteral("tras la cabecera de la tabla va una fila de "
                                                                "guiones (|---|-----|) con los anchos"));
                m_open->columnParts.append(int(cell.size()));
            }
            return {};
        }
        m_open->rows.append(cells);
        return {};
    }

    Status close() {
        if (m_open && m_open->kind == Kind::Table && m_open->columnParts.isEmpty())
            return lineError(m_openedAt,
                             QStringLiteral("a la tabla le falta la fila de guiones con los anchos"));
        m_open = nullptr;
        return {};
    }

    QList<ManualBlock> m_blocks;
    ManualBlock* m_open = nullptr; // points into m_blocks, always its last block
    int m_openedAt = 0;            // the line the open block started on
};

Result<QList<ManualBlock>> readBlocks(const QStringList& lines, int firstLine) {
    BlockReader reader;
    for (int i = firstLine; i < lines.size(); ++i)
        VELMORA_TRY(reader.read(lines.at(i), i + 1));
    return reader.finish();
}

QStringList linesOf(const QString& text) {
    QString normalized = text;
    normalized.remove(QLatin1Char('\r'));
    return normalized.split(QLatin1Char('\n'));
}

} // namespace

Result<ManualChapter> parseManualChapter(const QString& text) {
    const QStringList lines = linesOf(text);
    int first = 0;
    while (first < lines.size() && lines.at(first).trimmed().isEmpty())
        ++first;
    if (first == lines.size() || !lines.at(first).startsWith(QLatin1String("# ")))
        return lineError(first + 1, QStringLiteral("el capítulo empieza con su título (# ...)"));
    auto blocks = readBlocks(lines, first + 1);
    if (!blocks)
        return blocks.error();
    return ManualChapter{lines.at(first).mid(2).trimmed(), std::move(blocks).value()};
}

Result<ManualCover> parseManualCover(const QString& text) {
    const QStringList lines = linesOf(text);
    ManualCover cover;
    int i = 0;
    for (; i < lines.size() && !lines.at(i).trimmed().isEmpty(); ++i) {
        const qsizetype colon = lines.at(i).indexOf(QLatin1Char(':'));
        if (colon <= 0)
            return lineError(i + 1, QStringLiteral("se esperaba «Clave: valor»"));
        cover.fields.insert(lines.at(i).left(colon).trimmed(), lines.at(i).mid(colon + 1).trimmed());
    }
    auto blocks = readBlocks(lines, i);
    if (!blocks)
        return blocks.error();
    cover.blocks = std::move(blocks).value();
    return cover;
}

} // namespace velmora
