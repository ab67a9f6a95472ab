#include "platform/docengine/WordXml.h"

#include <cstring>

namespace velmora::docengine::wx {

QString xmlSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out.append(c);
                out.append(text.at(++i));
            }
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        if (u == 0x0B) {
            out.append(QChar(u'\n'));
            continue;
        }
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f')
            continue;
        if (u == 0xFFFE || u == 0xFFFF)
            continue;
        out.append(c);
    }
    return out;
}

void appendRunContent(pugi::xml_node run, const QString& text) {
    int start = 0;
    auto flush = [&](int end) {
        if (end > start) {
            pugi::xml_node t = run.append_child("w:t");
            const QString piece = text.mid(start, end - start);
            if (piece.front().isSpace() || piece.back().isSpace())
                t.append_attribute("xml:space") = "preserve";
            t.text().set(utf8(piece).c_str());
        }
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == u'\f') {
            flush(i);
            if (c == u'\t') {
                run.append_child("w:tab");
            } else {
                pugi::xml_node br = run.append_child("w:br");
                if (c == u'\f')
                    br.append_attribute("w:type") = "page";
            }
            start = i + 1;
        }
    }
    flush(text.size());
}

pugi::xml_node makeRun(pugi::xml_node parent, pugi::xml_node before, pugi::xml_node rPrModel,
                       const QString& text) {
    pugi::xml_node run = before ? parent.insert_child_before("w:r", before) : parent.append_child("w:r");
    if (rPrModel)
        run.append_copy(rPrModel);
    appendRunContent(run, text);
    return run;
}

void appendRunText(const pugi::xml_node& run, QString& out) {
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
        const char* n = c.name();
        if (n[0] != 'w' || n[1] != ':')
            continue;
        n += 2;
        if (!std::strcmp(n, "t"))
            out += QString::fromUtf8(c.child_value());
        else if (!std::strcmp(n, "tab"))
            out += QChar(u'\t');
        else if (!std::strcmp(n, "br") || !std::strcmp(n, "cr"))
            out += QChar(u'\n');
        else if (!std::strcmp(n, "noBreakHyphen"))
            out += QChar(u'-');
        else if (!std::strcmp(n, "sym")) {
            bool ok = false;
            const uint code = QString::fromUtf8(c.attribute("w:char").value()).toUInt(&ok, 16);
            if (ok && code >= 0xF000)
                out += QChar(char16_t(code - 0xF000));
            else if (ok)
                out += QChar(char16_t(code));
        }
    }
}

} // namespace velmora::docengine::wx
