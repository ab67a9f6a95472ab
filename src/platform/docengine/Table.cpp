#include "platform/docengine/Table.h"

#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace velmora::docengine {

using namespace wx;

namespace {

Error staleTable() {
    return Error::make(DocError::StaleHandle, QStringLiteral("La tabla ya no forma parte del documento."));
}

Error badRow(int row) {
    return Error::make(DocError::BadCell, QStringLiteral("La tabla no tiene la fila %1.").arg(row));
}

Error badCell(int row, int cell) {
    return Error::make(DocError::BadCell,
                       QStringLiteral("La tabla no tiene la celda (%1, %2).").arg(row).arg(cell));
}

Error badColumn(int column) {
    return Error::make(DocError::BadCell, QStringLiteral("La tabla no tiene la columna %1.").arg(column));
}

pugi::xml_node nthCell(pugi::xml_node row, int n) {
    int i = 0;
    for (pugi::xml_node c = row.child("w:tc"); c; c = c.next_sibling("w:tc"))
        if (++i == n)
            return c;
    return {};
}

int span(pugi::xml_node cell) {
    return std::max(1, intVal(cell.child("w:tcPr").child("w:gridSpan"), "w:val", 1));
}

void setWidthAttr(pugi::xml_node n, Twips w) {
    n.remove_attribute("w:w");
    n.remove_attribute("w:type");
    n.append_attribute("w:w") = w;
    n.append_attribute("w:type") = "dxa";
}

// Removes inline content (keeping the properties) of a paragraph that nobody else refers to yet.
void clearCopiedCell(pugi::xml_node cell) {
    pugi::xml_node firstPara = cell.child("w:p");
    pugi::xml_node keepRPr;
    if (firstPara) {
        for (pugi::xml_node r = firstPara.child("w:r"); r; r = r.next_sibling("w:r"))
            if (pugi::xml_node rPr = r.child("w:rPr")) {
                keepRPr = rPr;
                break;
            }
    }
    for (pugi::xml_node c = cell.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (!is(c, "w:tcPr") && c != firstPara)
            cell.remove_child(c);
        c = next;
    }
    if (!firstPara) {
        cell.append_child("w:p");
        return;
    }
    pugi::xml_node pPr = firstPara.child("w:pPr");
    if (keepRPr) {
        pugi::xml_node mark = pPr ? pPr.child("w:rPr") : pugi::xml_node();
        if (!mark) {
            if (!pPr)
                pPr = firstPara.prepend_child("w:pPr");
            pugi::xml_node copy = pPrChild(pPr, "w:rPr");
            for (pugi::xml_node c = keepRPr.first_child(); c; c = c.next_sibling())
                copy.append_copy(c);
        }
    }
    for (pugi::xml_node c = firstPara.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (!is(c, "w:pPr"))
            firstPara.remove_child(c);
        c = next;
    }
}

void setBorderEdges(pugi::xml_node parent, bool on) {
    for (const char* edge : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        pugi::xml_node e = parent.append_child(edge);
        if (on) {
            e.append_attribute("w:val") = "single";
            e.append_attribute("w:sz") = 4;
            e.append_attribute("w:space") = 0;
            e.append_attribute("w:color") = "auto";
        } else {
            e.append_attribute("w:val") = "nil";
        }
    }
}

void applyFontBelow(pugi::xml_node root, const RunFormat& format) {
    for (pugi::xml_node n = root.first_child(); n;
         n = nextInOrder(n, root, is(n, "w:r") || is(n, "w:tcPr"))) {
        if (is(n, "w:r")) {
            applyRunFormat(ensureRPr(n), format);
        } else if (is(n, "w:p")) {
            applyRunFormat(pPrChild(ensurePPr(n), "w:rPr"), format);
        }
    }
}

// Model run properties for a cell's new text: those of its first run, else of the paragraph mark.
pugi::xml_node cellTextModel(pugi::xml_node firstPara) {
    for (pugi::xml_node r = firstPara.child("w:r"); r; r = r.next_sibling("w:r"))
        if (pugi::xml_node rPr = r.child("w:rPr"))
            return rPr;
    return firstPara.child("w:pPr").child("w:rPr");
}

} // namespace

bool Table::isValid() const {
    return m_d && m_state && m_state->node;
}

int Table::rowCount() const {
    return isValid() ? static_cast<int>(m_state->rows.size()) : 0;
}

int Table::columnCount() const {
    if (!isValid())
        return 0;
    int n = 0;
    for (pugi::xml_node g = m_state->node.child("w:tblGrid").child("w:gridCol"); g;
         g = g.next_sibling("w:gridCol"))
        ++n;
    if (n == 0)
        for (pugi::xml_node r : m_state->rows) {
            int cells = 0;
            for (pugi::xml_node c = r.child("w:tc"); c; c = c.next_sibling("w:tc"))
                cells += span(c);
            n = std::max(n, cells);
        }
    return n;
}

int Table::cellCount(int row) const {
    if (!isValid() || row < 1 || row > rowCount())
        return 0;
    int n = 0;
    for (pugi::xml_node c = m_state->rows[static_cast<size_t>(row - 1)].child("w:tc"); c;
         c = c.next_sibling("w:tc"))
        ++n;
    return n;
}

Result<int> Table::addRow() {
    if (!isValid())
        return staleTable();
    pugi::xml_node tbl = m_state->node;
    pugi::xml_node row;
    if (m_state->rows.empty()) {
        row = tbl.append_child("w:tr");
        const QList<Twips> widths = columnWidths();
        for (Twips w : widths) {
            pugi::xml_node tc = row.append_child("w:tc");
            setWidthAttr(tcPrChild(ensureTcPr(tc), "w:tcW"), w);
            tc.append_child("w:p");
        }
        if (widths.isEmpty())
            row.append_child("w:tc").append_child("w:p");
    } else {
        const pugi::xml_node last = m_state->rows.back();
        row = tbl.insert_copy_after(last, last);
        if (pugi::xml_node trPr = row.child("w:trPr"))
            trPr.remove_child("w:tblHeader");
        for (pugi::xml_node tc = row.child("w:tc"); tc; tc = tc.next_sibling("w:tc")) {
            if (pugi::xml_node tcPr = tc.child("w:tcPr"))
                tcPr.remove_child("w:vMerge");
            clearCopiedCell(tc);
        }
    }
    m_state->rows.push_back(row);
    return static_cast<int>(m_state->rows.size());
}

Result<int> Table::appendRow(const QStringList& texts) {
    auto row = addRow();
    if (!row.ok())
        return row;
    for (int i = 0; i < texts.size(); ++i) {
        if (texts.at(i).isEmpty())
            continue;
        if (Status s = setCellText(row.value(), i + 1, texts.at(i)); !s.ok())
            return s.error();
    }
    return row;
}

Result<pugi::xml_node> Table::cellNode(int row, int cell) const {
    if (!isValid())
        return staleTable();
    if (row < 1 || row > rowCount())
        return badCell(row, cell);
    pugi::xml_node tc = nthCell(m_state->rows[static_cast<size_t>(row - 1)], cell);
    if (!tc)
        return badCell(row, cell);
    return tc;
}

Status Table::setCellText(int row, int cell, const QString& text) {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    pugi::xml_node tc = *found;

    QString clean = xmlSafe(text);
    clean.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    const QStringList paragraphs = clean.split(u'\r');

    pugi::xml_node firstPara = tc.child("w:p");
    if (!firstPara)
        firstPara = tc.append_child("w:p");

    // New content goes in first, copying the formatting of what it replaces; then the old
    // content is removed.
    pugi::xml_node model = cellTextModel(firstPara);
    std::vector<pugi::xml_node> fresh;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        pugi::xml_node p = firstPara;
        if (i > 0) {
            p = makeParagraphLike(tc, pugi::xml_node(), firstPara);
        }
        if (!paragraphs.at(i).isEmpty()) {
            pugi::xml_node run = makeRun(p, pugi::xml_node(), model, paragraphs.at(i));
            // A copy of a paragraph-mark rPr may carry revision marks that runs cannot hold.
            if (pugi::xml_node rPr = run.child("w:rPr"))
                for (const char* tracked : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange"})
                    rPr.remove_child(tracked);
            fresh.push_back(run);
        }
        if (i > 0)
            fresh.push_back(p);
    }
    auto isFresh = [&](pugi::xml_node n) { return std::find(fresh.begin(), fresh.end(), n) != fresh.end(); };
    std::vector<pugi::xml_node> doomed;
    for (pugi::xml_node c = tc.first_child(); c; c = c.next_sibling())
        if (!is(c, "w:tcPr") && c != firstPara && !isFresh(c))
            doomed.push_back(c);
    for (pugi::xml_node c = firstPara.first_child(); c; c = c.next_sibling())
        if (!is(c, "w:pPr") && !isFresh(c))
            doomed.push_back(c);
    for (pugi::xml_node n : doomed)
        m_d->removeNode(n);
    return {};
}

Result<QString> Table::cellText(int row, int cell) const {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    pugi::xml_node tc = *found;
    QString out;
    bool first = true;
    for (pugi::xml_node p = tc.child("w:p"); p; p = p.next_sibling("w:p")) {
        if (!first)
            out += QChar(u'\n');
        first = false;
        for (pugi::xml_node n = p.first_child(); n;) {
            if (is(n, "w:r")) {
                appendRunText(n, out);
                n = nextInOrder(n, p, true);
            } else {
                n = nextInOrder(n, p, is(n, "w:pPr") || is(n, "w:del"));
            }
        }
    }
    return out;
}

Result<Cursor> Table::cellCursor(int row, int cell) const {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    pugi::xml_node tc = *found;
    pugi::xml_node p = tc.last_child();
    while (p && p.type() != pugi::node_element)
        p = p.previous_sibling();
    if (!is(p, "w:p"))
        p = tc.append_child("w:p");
    return Cursor(m_d, m_state->part, p, pugi::xml_node());
}

QList<Twips> Table::columnWidths() const {
    QList<Twips> widths;
    if (!isValid())
        return widths;
    for (pugi::xml_node g = m_state->node.child("w:tblGrid").child("w:gridCol"); g;
         g = g.next_sibling("w:gridCol"))
        widths << intVal(g, "w:w", 0);
    if (widths.isEmpty() && !m_state->rows.empty())
        for (pugi::xml_node c = m_state->rows.front().child("w:tc"); c; c = c.next_sibling("w:tc")) {
            const int n = span(c);
            const Twips w = intVal(c.child("w:tcPr").child("w:tcW"), "w:w", 0);
            for (int i = 0; i < n; ++i)
                widths << w / n;
        }
    return widths;
}

Result<Twips> Table::columnWidth(int column) const {
    if (!isValid())
        return staleTable();
    const QList<Twips> widths = columnWidths();
    if (column < 1 || column > widths.size())
        return badColumn(column);
    return widths.at(column - 1);
}

Status Table::setColumnWidths(const QList<Twips>& widths) {
    if (!isValid())
        return staleTable();
    pugi::xml_node tbl = m_state->node;
    pugi::xml_node grid = tbl.child("w:tblGrid");
    if (!grid) {
        pugi::xml_node tblPr = tbl.child("w:tblPr");
        grid = tblPr ? tbl.insert_child_after("w:tblGrid", tblPr) : tbl.prepend_child("w:tblGrid");
    }
    while (grid.first_child())
        grid.remove_child(grid.first_child());
    for (Twips w : widths)
        grid.append_child("w:gridCol").append_attribute("w:w") = w;
    for (pugi::xml_node row : m_state->rows) {
        int col = 0;
        for (pugi::xml_node c = row.child("w:tc"); c; c = c.next_sibling("w:tc")) {
            const int n = span(c);
            Twips w = 0;
            for (int i = 0; i < n && col + i < widths.size(); ++i)
                w += widths.at(col + i);
            col += n;
            setWidthAttr(tcPrChild(ensureTcPr(c), "w:tcW"), w);
        }
    }
    return {};
}

Status Table::setColumnWidth(int column, Twips width) {
    if (!isValid())
        return staleTable();
    QList<Twips> widths = columnWidths();
    if (column < 1 || column > widths.size())
        return badColumn(column);
    if (width < 0)
        return Error::make(ErrorCode::InvalidProcedureCall, QStringLiteral("Ancho de columna no válido."));
    widths[column - 1] = width;
    return setColumnWidths(widths);
}

Result<RowHeight> Table::rowHeight(int row) const {
    if (!isValid())
        return staleTable();
    if (row < 1 || row > rowCount())
        return badRow(row);
    const pugi::xml_node h = m_state->rows[static_cast<size_t>(row - 1)].child("w:trPr").child("w:trHeight");
    if (!h)
        return RowHeight{};
    RowHeight r;
    r.value = intVal(h, "w:val", 0);
    const char* rule = h.attribute("w:hRule").value();
    r.rule = !std::strcmp(rule, "exact")  ? HeightRule::Exact
             : !std::strcmp(rule, "auto") ? HeightRule::Auto
                                          : HeightRule::AtLeast;
    return r;
}

Status Table::setRowHeight(int row, RowHeight height) {
    if (!isValid())
        return staleTable();
    if (row < 1 || row > rowCount())
        return badRow(row);
    pugi::xml_node tr = m_state->rows[static_cast<size_t>(row - 1)];
    if (height.rule == HeightRule::Auto || height.value <= 0) {
        if (pugi::xml_node trPr = tr.child("w:trPr"))
            trPr.remove_child("w:trHeight");
        return {};
    }
    pugi::xml_node h = trPrChild(ensureTrPr(tr), "w:trHeight");
    h.remove_attributes();
    h.append_attribute("w:val") = height.value;
    h.append_attribute("w:hRule") = height.rule == HeightRule::Exact ? "exact" : "atLeast";
    return {};
}

Status Table::setHeaderRow(int row, bool repeat) {
    if (!isValid())
        return staleTable();
    if (row < 1 || row > rowCount())
        return badRow(row);
    pugi::xml_node tr = m_state->rows[static_cast<size_t>(row - 1)];
    if (repeat)
        trPrChild(ensureTrPr(tr), "w:tblHeader");
    else if (pugi::xml_node trPr = tr.child("w:trPr"))
        trPr.remove_child("w:tblHeader");
    return {};
}

void Table::setBorders(bool on) {
    if (!isValid())
        return;
    pugi::xml_node tblPr = ensureTblPr(m_state->node);
    tblPr.remove_child("w:tblBorders");
    setBorderEdges(tblPrChild(tblPr, "w:tblBorders"), on);
    for (pugi::xml_node row : m_state->rows)
        for (pugi::xml_node c = row.child("w:tc"); c; c = c.next_sibling("w:tc"))
            if (pugi::xml_node tcPr = c.child("w:tcPr"))
                tcPr.remove_child("w:tcBorders");
}

bool Table::hasBorders() const {
    if (!isValid())
        return false;
    const pugi::xml_node b = m_state->node.child("w:tblPr").child("w:tblBorders");
    for (pugi::xml_node e = b.first_child(); e; e = e.next_sibling()) {
        const char* v = val(e);
        if (*v && std::strcmp(v, "nil") != 0 && std::strcmp(v, "none") != 0)
            return true;
    }
    return false;
}

void Table::setFont(const RunFormat& format) {
    if (isValid() && !format.isEmpty())
        applyFontBelow(m_state->node, format);
}

Status Table::setRowFont(int row, const RunFormat& format) {
    if (!isValid())
        return staleTable();
    if (row < 1 || row > rowCount())
        return badRow(row);
    applyFontBelow(m_state->rows[static_cast<size_t>(row - 1)], format);
    return {};
}

Status Table::setCellAlignment(int row, int cell, Alignment alignment) {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    pugi::xml_node tc = *found;
    ParagraphFormat f;
    f.alignment = alignment;
    for (pugi::xml_node p = tc.child("w:p"); p; p = p.next_sibling("w:p"))
        applyParagraphFormat(ensurePPr(p), f);
    return {};
}

Status Table::setCellShading(int row, int cell, const QColor& fill) {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    pugi::xml_node tc = *found;
    pugi::xml_node shd = tcPrChild(ensureTcPr(tc), "w:shd");
    shd.remove_attributes();
    shd.append_attribute("w:val") = "clear";
    shd.append_attribute("w:color") = "auto";
    shd.append_attribute("w:fill") = utf8(fill.name(QColor::HexRgb).mid(1).toUpper()).c_str();
    return {};
}

Status Table::clearCellShading(int row, int cell) {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    found->child("w:tcPr").remove_child("w:shd");
    return {};
}

Status Table::setCellFitText(int row, int cell, bool fit) {
    auto found = cellNode(row, cell);
    if (!found)
        return found.error();
    if (fit)
        tcPrChild(ensureTcPr(*found), "w:tcFitText");
    else
        found->child("w:tcPr").remove_child("w:tcFitText");
    return {};
}

Status Table::mergeCells(int row, int firstCell, int lastCell) {
    if (!isValid())
        return staleTable();
    if (row < 1 || row > rowCount())
        return badRow(row);
    pugi::xml_node tr = m_state->rows[static_cast<size_t>(row - 1)];
    pugi::xml_node first = nthCell(tr, firstCell);
    pugi::xml_node last = nthCell(tr, lastCell);
    if (!first || !last || lastCell <= firstCell)
        return badCell(row, lastCell);
    int totalSpan = 0;
    Twips totalWidth = 0;
    std::vector<pugi::xml_node> others;
    for (pugi::xml_node c = first;; c = c.next_sibling("w:tc")) {
        totalSpan += span(c);
        totalWidth += intVal(c.child("w:tcPr").child("w:tcW"), "w:w", 0);
        if (c != first)
            others.push_back(c);
        if (c == last)
            break;
    }
    auto hasText = [](pugi::xml_node p) {
        for (pugi::xml_node n = p.first_child(); n; n = nextInOrder(n, p, false))
            if (is(n, "w:t") && *n.child_value())
                return true;
        return false;
    };
    // The texts of the merged cells follow the first cell's text as paragraphs of their own.
    bool firstHasText = false;
    for (pugi::xml_node p = first.child("w:p"); p; p = p.next_sibling("w:p"))
        firstHasText = firstHasText || hasText(p);
    for (pugi::xml_node c : others) {
        std::vector<pugi::xml_node> moving;
        for (pugi::xml_node p = c.child("w:p"); p; p = p.next_sibling("w:p"))
            if (hasText(p))
                moving.push_back(p);
        for (pugi::xml_node p : moving) {
            if (!firstHasText) {
                // Replace the empty paragraph(s) of the first cell.
                std::vector<pugi::xml_node> empty;
                for (pugi::xml_node q = first.child("w:p"); q; q = q.next_sibling("w:p"))
                    empty.push_back(q);
                first.append_move(p);
                for (pugi::xml_node q : empty)
                    m_d->removeNode(q);
                firstHasText = true;
            } else {
                first.append_move(p);
            }
        }
    }
    for (pugi::xml_node c : others)
        m_d->removeNode(c);
    pugi::xml_node tcPr = ensureTcPr(first);
    pugi::xml_node gs = tcPrChild(tcPr, "w:gridSpan");
    gs.remove_attributes();
    gs.append_attribute("w:val") = totalSpan;
    setWidthAttr(tcPrChild(tcPr, "w:tcW"), totalWidth);
    return {};
}

void Table::setAlignment(Alignment alignment) {
    if (!isValid())
        return;
    pugi::xml_node jc = tblPrChild(ensureTblPr(m_state->node), "w:jc");
    jc.remove_attributes();
    jc.append_attribute("w:val") = alignment == Alignment::Center  ? "center"
                                   : alignment == Alignment::Right ? "right"
                                                                   : "left";
}

pugi::xml_node Table::insertXml(pugi::xml_node parent, pugi::xml_node before, const QList<Twips>& grid,
                                int rows, pugi::xml_node cellRPr) {
    pugi::xml_node tbl = parent.insert_child_before("w:tbl", before);
    pugi::xml_node tblPr = tbl.append_child("w:tblPr");
    pugi::xml_node tblW = tblPrChild(tblPr, "w:tblW");
    tblW.append_attribute("w:w") = 0;
    tblW.append_attribute("w:type") = "auto";
    pugi::xml_node borders = tblPrChild(tblPr, "w:tblBorders");
    for (const char* edge : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        pugi::xml_node e = borders.append_child(edge);
        e.append_attribute("w:val") = "single";
        e.append_attribute("w:sz") = 4;
        e.append_attribute("w:space") = 0;
        e.append_attribute("w:color") = "auto";
    }
    tblPrChild(tblPr, "w:tblLayout").append_attribute("w:type") = "fixed";
    pugi::xml_node look = tblPrChild(tblPr, "w:tblLook");
    look.append_attribute("w:val") = "04A0";
    pugi::xml_node gridNode = tbl.append_child("w:tblGrid");
    for (Twips w : grid)
        gridNode.append_child("w:gridCol").append_attribute("w:w") = w;
    pugi::xml_document scratch;
    pugi::xml_node proto = scratch.append_child("w:tr");
    for (Twips w : grid) {
        pugi::xml_node tc = proto.append_child("w:tc");
        pugi::xml_node tcW = tc.append_child("w:tcPr").append_child("w:tcW");
        tcW.append_attribute("w:w") = w;
        tcW.append_attribute("w:type") = "dxa";
        pugi::xml_node p = tc.append_child("w:p");
        if (cellRPr.first_child())
            p.append_child("w:pPr").append_copy(cellRPr);
    }
    for (int r = 0; r < rows; ++r)
        tbl.append_copy(proto);
    return tbl;
}

} // namespace velmora::docengine
