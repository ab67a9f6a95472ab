#include "platform/docengine/Document.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"

namespace velmora::docengine {

using namespace wx;

namespace {

void appendPlainText(pugi::xml_node container, QString& out);

void appendParagraphText(pugi::xml_node p, QString& out) {
    const pugi::xml_node root = p;
    for (pugi::xml_node n = p.first_child(); n;) {
        if (is(n, "w:r")) {
            appendRunText(n, out);
            n = nextInOrder(n, root, true);
        } else {
            n = nextInOrder(n, root, is(n, "w:pPr") || is(n, "w:del") || is(n, "w:moveFrom"));
        }
    }
}

void appendPlainText(pugi::xml_node container, QString& out) {
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (is(c, "w:p")) {
            appendParagraphText(c, out);
            out += QChar(u'\n');
        } else if (is(c, "w:tbl")) {
            for (pugi::xml_node tr = c.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
                bool first = true;
                for (pugi::xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc")) {
                    if (!first)
                        out += QChar(u'\t');
                    first = false;
                    QString cell;
                    appendPlainText(tc, cell);
                    while (cell.endsWith(u'\n'))
                        cell.chop(1);
                    cell.replace(u'\n', u' ');
                    out += cell;
                }
                out += QChar(u'\n');
            }
        } else if (is(c, "w:sdt")) {
            appendPlainText(c.child("w:sdtContent"), out);
        } else if (is(c, "w:customXml")) {
            appendPlainText(c, out);
        }
    }
}

// Paragraph holding run `n` and the paragraph-level child that holds it.
pugi::xml_node topLevelChild(pugi::xml_node n, pugi::xml_node paragraph) {
    while (n && n.parent() != paragraph)
        n = n.parent();
    return n;
}

// Splits a run so that its first `chars` characters go to a new run before it; returns the run
// holding the rest.
pugi::xml_node splitRunAt(pugi::xml_node run, int chars) {
    if (chars <= 0)
        return run;
    pugi::xml_node head = run.parent().insert_child_before("w:r", run);
    if (pugi::xml_node rPr = run.child("w:rPr"))
        head.append_copy(rPr);
    int seen = 0;
    for (pugi::xml_node c = run.first_child(); c && seen < chars;) {
        pugi::xml_node next = c.next_sibling();
        if (is(c, "w:rPr")) {
            c = next;
            continue;
        }
        int len = 0;
        if (is(c, "w:t"))
            len = QString::fromUtf8(c.child_value()).size();
        else if (is(c, "w:tab") || is(c, "w:br") || is(c, "w:cr") || is(c, "w:noBreakHyphen") ||
                 is(c, "w:sym"))
            len = 1;
        if (seen + len <= chars) {
            head.append_move(c);
            seen += len;
        } else {
            const QString text = QString::fromUtf8(c.child_value());
            const int cut = chars - seen;
            pugi::xml_node t = head.append_child("w:t");
            t.append_attribute("xml:space") = "preserve";
            t.text().set(utf8(text.left(cut)).c_str());
            c.text().set(utf8(text.mid(cut)).c_str());
            if (!c.attribute("xml:space"))
                c.append_attribute("xml:space") = "preserve";
            seen = chars;
        }
        c = next;
    }
    return run;
}

struct TextMatch {
    pugi::xml_node run;
    int offset = -1;
};

// Finds `needle` in the text of paragraph `p` at or after run position `fromChild`.
TextMatch findInParagraph(pugi::xml_node p, const QString& needle, pugi::xml_node fromChild) {
    struct Piece {
        pugi::xml_node run;
        int start;
        int length;
    };
    std::vector<Piece> pieces;
    QString text;
    bool active = !fromChild;
    for (pugi::xml_node n = p.first_child(); n;) {
        if (!active && topLevelChild(n, p) == fromChild)
            active = true;
        if (is(n, "w:r")) {
            if (active) {
                const int before = text.size();
                appendRunText(n, text);
                pieces.push_back({n, before, static_cast<int>(text.size()) - before});
            }
            n = nextInOrder(n, p, true);
        } else {
            n = nextInOrder(n, p, is(n, "w:pPr") || is(n, "w:del"));
        }
    }
    const int at = text.indexOf(needle);
    if (at < 0)
        return {};
    for (const Piece& pc : pieces)
        if (at < pc.start + pc.length)
            return {pc.run, at - pc.start};
    return {};
}

} // namespace

Result<Cursor> Document::findText(const QString& text, const Cursor* from) {
    if (text.isEmpty())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("No se ha indicado el texto a buscar."));
    const pugi::xml_node root = d->body();
    pugi::xml_node startPara;
    pugi::xml_node startChild;
    if (from && from->isValid() && from->m_part == &d->main) {
        startPara = from->m_para;
        startChild = from->m_before;
    }
    auto found = [&](pugi::xml_node p, const TextMatch& m) -> Result<Cursor> {
        pugi::xml_node rest = splitRunAt(m.run, m.offset);
        return Cursor(d.get(), &d->main, p, topLevelChild(rest, p));
    };
    if (startPara) {
        if (startChild) {
            const TextMatch m = findInParagraph(startPara, text, startChild);
            if (m.run)
                return found(startPara, m);
        }
        for (pugi::xml_node p = nextParagraph(startPara, root); p; p = nextParagraph(p, root)) {
            const TextMatch m = findInParagraph(p, text, {});
            if (m.run)
                return found(p, m);
        }
    }
    for (pugi::xml_node p = paragraphFrom(root.first_child(), root); p && p != startPara;
         p = nextParagraph(p, root)) {
        const TextMatch m = findInParagraph(p, text, {});
        if (m.run)
            return found(p, m);
    }
    if (startPara) {
        const TextMatch m = findInParagraph(startPara, text, {});
        if (m.run)
            return found(startPara, m);
    }
    return Error::make(DocError::MissingMember, QStringLiteral("No se encuentra el texto «%1».").arg(text));
}

QString Document::plainText() const {
    QString out;
    appendPlainText(d->body(), out);
    return out;
}

} // namespace velmora::docengine
