#include "platform/docengine/StyleSheet.h"

#include "platform/docengine/WordXml.h"

#include <QColor>

#include <algorithm>
#include <cstring>

namespace velmora::docengine {

using namespace wx;

void StyleSheet::load(const pugi::xml_node& stylesRoot, const pugi::xml_node& settingsRoot) {
    m_styles.clear();
    m_cache.clear();
    m_defaults = ResolvedStyle{};
    m_defaultParagraphStyle.clear();
    m_defaultTableStyle.clear();
    const pugi::xml_node defs = stylesRoot.child("w:docDefaults");
    applyRPr(defs.child("w:rPrDefault").child("w:rPr"), m_defaults.chars);
    applyPPr(defs.child("w:pPrDefault").child("w:pPr"), m_defaults.para);
    for (pugi::xml_node s = stylesRoot.child("w:style"); s; s = s.next_sibling("w:style")) {
        const QString id = qs(s.attribute("w:styleId").value());
        m_styles.insert(id, s);
        const char* def = s.attribute("w:default").value();
        if (!std::strcmp(def, "1") || !std::strcmp(def, "true") || !std::strcmp(def, "on")) {
            if (!std::strcmp(s.attribute("w:type").value(), "paragraph"))
                m_defaultParagraphStyle = id;
            else if (!std::strcmp(s.attribute("w:type").value(), "table"))
                m_defaultTableStyle = id;
        }
    }
    const int tab = intVal(settingsRoot.child("w:defaultTabStop"), "w:val", 720);
    m_defaultTab = tab > 0 ? tab : 720;
}

void StyleSheet::resolveChain(const char* styleId, ResolvedStyle& out, int depth) {
    if (depth > 20 || !styleId || !*styleId)
        return;
    const pugi::xml_node s = m_styles.value(qs(styleId));
    if (!s)
        return;
    resolveChain(s.child("w:basedOn").attribute("w:val").value(), out, depth + 1);
    applyPPr(s.child("w:pPr"), out.para);
    applyRPr(s.child("w:rPr"), out.chars);
}

const ResolvedStyle& StyleSheet::paragraphStyle(const char* styleId) {
    QString key = qs(styleId);
    if (key.isEmpty() || !m_styles.contains(key))
        key = m_defaultParagraphStyle;
    auto it = m_cache.find(key);
    if (it != m_cache.end())
        return *it;
    ResolvedStyle r = m_defaults;
    const std::string id = utf8(key);
    resolveChain(id.c_str(), r, 0);
    return *m_cache.insert(key, r);
}

void StyleSheet::applyCharacterStyle(const char* styleId, CharProps& props) {
    QVector<pugi::xml_node> chain;
    for (QString id = qs(styleId); !id.isEmpty() && chain.size() < 20;) {
        const pugi::xml_node s = m_styles.value(id);
        if (!s)
            break;
        chain.prepend(s);
        id = qs(s.child("w:basedOn").attribute("w:val").value());
    }
    for (const pugi::xml_node& s : chain)
        applyRPr(s.child("w:rPr"), props);
}

QVector<pugi::xml_node> StyleSheet::tableStyleChain(const char* styleId) const {
    QVector<pugi::xml_node> chain;
    QString id = qs(styleId);
    if (id.isEmpty())
        id = m_defaultTableStyle;
    while (!id.isEmpty() && chain.size() < 20) {
        const pugi::xml_node s = m_styles.value(id);
        if (!s)
            break;
        chain.prepend(s.child("w:tblPr"));
        id = qs(s.child("w:basedOn").attribute("w:val").value());
    }
    return chain;
}

void StyleSheet::applyPPr(const pugi::xml_node& pPr, ParaProps& p) {
    if (!pPr)
        return;
    if (pugi::xml_node jc = pPr.child("w:jc"))
        p.align = alignmentFrom(val(jc), p.align);
    if (pugi::xml_node sp = pPr.child("w:spacing")) {
        p.spaceBefore = intVal(sp, "w:before", p.spaceBefore);
        p.spaceAfter = intVal(sp, "w:after", p.spaceAfter);
        if (sp.attribute("w:line")) {
            p.line = intVal(sp, "w:line", 240);
            const char* rule = sp.attribute("w:lineRule").value();
            p.lineRule = !std::strcmp(rule, "exact")     ? LineRule::Exact
                         : !std::strcmp(rule, "atLeast") ? LineRule::AtLeast
                                                         : LineRule::Auto;
        }
    }
    if (pugi::xml_node ind = pPr.child("w:ind")) {
        p.indentLeft = intVal(ind, "w:left", intVal(ind, "w:start", p.indentLeft));
        p.indentRight = intVal(ind, "w:right", intVal(ind, "w:end", p.indentRight));
        if (ind.attribute("w:hanging"))
            p.firstLine = -intVal(ind, "w:hanging", 0);
        else if (ind.attribute("w:firstLine"))
            p.firstLine = intVal(ind, "w:firstLine", 0);
    }
    if (pugi::xml_node n = pPr.child("w:pageBreakBefore"))
        p.pageBreakBefore = onOff(n);
    if (pugi::xml_node n = pPr.child("w:keepNext"))
        p.keepNext = onOff(n);
    if (pugi::xml_node tabs = pPr.child("w:tabs")) {
        for (pugi::xml_node t = tabs.child("w:tab"); t; t = t.next_sibling("w:tab")) {
            const Twips pos = intVal(t, "w:pos", -1);
            if (!std::strcmp(val(t), "clear")) {
                p.tabStops.removeAll(pos);
            } else if (pos >= 0 && !p.tabStops.contains(pos)) {
                p.tabStops.append(pos);
            }
        }
        std::sort(p.tabStops.begin(), p.tabStops.end());
    }
}

void StyleSheet::applyRPr(const pugi::xml_node& rPr, CharProps& c) {
    if (!rPr)
        return;
    if (pugi::xml_node f = rPr.child("w:rFonts")) {
        if (const char* ascii = f.attribute("w:ascii").value(); *ascii)
            c.font = qs(ascii);
        else if (const char* hAnsi = f.attribute("w:hAnsi").value(); *hAnsi)
            c.font = qs(hAnsi);
        else if (const char* theme = f.attribute("w:asciiTheme").value(); *theme)
            c.font =
                std::strstr(theme, "major") ? QStringLiteral("Calibri Light") : QStringLiteral("Calibri");
    }
    if (pugi::xml_node sz = rPr.child("w:sz")) {
        const int hp = intVal(sz, "w:val", c.halfPoints);
        if (hp > 0 && hp <= 3276)
            c.halfPoints = hp;
    }
    if (pugi::xml_node n = rPr.child("w:b"))
        c.bold = onOff(n);
    if (pugi::xml_node n = rPr.child("w:i"))
        c.italic = onOff(n);
    if (pugi::xml_node n = rPr.child("w:strike"))
        c.strike = onOff(n);
    if (pugi::xml_node n = rPr.child("w:caps"))
        c.caps = onOff(n);
    if (pugi::xml_node n = rPr.child("w:vanish"))
        c.hidden = onOff(n);
    if (pugi::xml_node u = rPr.child("w:u")) {
        const char* v = val(u);
        c.underline = *v && std::strcmp(v, "none") != 0;
    }
    if (pugi::xml_node col = rPr.child("w:color")) {
        const char* v = val(col);
        if (*v && std::strcmp(v, "auto") != 0) {
            const QColor qc(QLatin1Char('#') + qs(v));
            if (qc.isValid())
                c.color = qc.rgba();
        } else if (!std::strcmp(v, "auto")) {
            c.color = 0xff000000;
        }
    }
    if (pugi::xml_node va = rPr.child("w:vertAlign")) {
        const char* v = val(va);
        c.vertAlign = !std::strcmp(v, "superscript") ? 1 : !std::strcmp(v, "subscript") ? -1 : 0;
    }
}

} // namespace velmora::docengine
