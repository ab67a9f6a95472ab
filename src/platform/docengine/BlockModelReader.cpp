#include "platform/docengine/BlockModelReader.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/LayoutConstants.h"
#include "platform/docengine/WordXml.h"

#include <QColor>
#include <QRegularExpression>

#include <climits>
#include <cstring>

namespace velmora::docengine {

using namespace wx;
using namespace layout;

namespace {

// A legacy form field being read: its code until "separate", then its result until "end".
struct FieldFrame {
    bool inResult = false;
    bool ownResult = false; // the result is drawn by the layout, not taken from the file
    bool checkBox = false;
    bool checked = false;
    qreal boxSize = 0;
    QString instr;

    QString code() const { return instr.trimmed().section(u' ', 0, 0).toUpper(); }
};

// Fields nest; text shows only where every open field is in its result and none draws its own.
struct FieldStack {
    std::vector<FieldFrame> frames;
    bool active(size_t below) const {
        for (size_t i = 0; i < below && i < frames.size(); ++i)
            if (!frames[i].inResult || frames[i].ownResult)
                return false;
        return true;
    }
    bool active() const { return active(frames.size()); }
};

bool isPageField(const QString& code) {
    return code == QLatin1String("PAGE") || code == QLatin1String("NUMPAGES");
}

InlineItem pageField(const QString& code, const CharProps& chars) {
    InlineItem item;
    item.kind =
        code == QLatin1String("NUMPAGES") ? InlineItem::Kind::PageCount : InlineItem::Kind::PageNumber;
    item.chars = chars;
    return item;
}

std::optional<QRgb> colorValue(const char* hex) {
    if (!*hex || !std::strcmp(hex, "auto"))
        return std::nullopt;
    const QColor color(QLatin1Char('#') + qs(hex));
    if (!color.isValid())
        return std::nullopt;
    return color.rgba();
}

BorderLine readBorder(const pugi::xml_node& e) {
    BorderLine b;
    if (!e)
        return b;
    const char* v = val(e);
    if (!*v || !std::strcmp(v, "nil") || !std::strcmp(v, "none"))
        return b;
    b.on = true;
    b.width = std::max<qreal>(kThinnestBorder, intVal(e, "w:sz", 4) * kTwipsPerBorderUnit);
    if (!std::strcmp(v, "double"))
        b.width *= kDoubleBorderFactor;
    if (const auto c = colorValue(e.attribute("w:color").value()))
        b.color = *c;
    return b;
}

// An edge element by its name, or by its right-to-left-neutral alternative.
pugi::xml_node edge(const pugi::xml_node& parent, const char* name, const char* alternative) {
    pugi::xml_node e = parent.child(name);
    if (!e && alternative)
        e = parent.child(alternative);
    return e;
}

void readBorders(const pugi::xml_node& tblBorders, TableBorderSet& b) {
    if (!tblBorders)
        return;
    auto one = [&](const char* name, const char* alternative, BorderLine& out) {
        if (const pugi::xml_node e = edge(tblBorders, name, alternative))
            out = readBorder(e);
    };
    one("w:top", nullptr, b.top);
    one("w:left", "w:start", b.left);
    one("w:bottom", nullptr, b.bottom);
    one("w:right", "w:end", b.right);
    one("w:insideH", nullptr, b.insideH);
    one("w:insideV", nullptr, b.insideV);
}

void readMargins(const pugi::xml_node& mar, CellMargins& m) {
    if (!mar)
        return;
    auto one = [&](const char* name, const char* alternative, qreal& out) {
        if (const pugi::xml_node e = edge(mar, name, alternative))
            out = intVal(e, "w:w", static_cast<int>(out));
    };
    one("w:top", nullptr, m.top);
    one("w:left", "w:start", m.left);
    one("w:bottom", nullptr, m.bottom);
    one("w:right", "w:end", m.right);
}

// VML sizes carry their unit ("12pt", "2.5cm").
qreal vmlLength(QString value) {
    qreal twipsPerUnit = kTwipsPerPoint;
    if (value.endsWith(QLatin1String("in")))
        twipsPerUnit = kTwipsPerInch;
    else if (value.endsWith(QLatin1String("cm")))
        twipsPerUnit = kTwipsPerInch / kCmPerInch;
    else if (value.endsWith(QLatin1String("mm")))
        twipsPerUnit = kTwipsPerInch / 10 / kCmPerInch;
    value.remove(QRegularExpression(QStringLiteral("[a-z]+$")));
    return value.toDouble() * twipsPerUnit;
}

class ModelReader {
public:
    explicit ModelReader(DocumentData& d) : m_d(d) {}

    DocumentModel read() {
        XmlPart* styles = m_d.partByRelType(kRelStyles);
        XmlPart* settings = m_d.partByRelType(kRelSettings);
        m_styles.load(styles ? styles->xml.document_element() : pugi::xml_node(),
                      settings ? settings->xml.document_element() : pugi::xml_node());
        DocumentModel model;
        model.page = m_d.pageSetup();
        model.defaultTabStop = m_styles.defaultTabStop();
        m_part = &m_d.main;
        FieldStack fields;
        model.body = blocks(m_d.body(), fields, true);
        model.header = decoration("w:headerReference");
        model.footer = decoration("w:footerReference");
        return model;
    }

private:
    // ---- blocks ---------------------------------------------------------------------------

    std::vector<Block> blocks(const pugi::xml_node& container, FieldStack& fields, bool isBody) {
        pugi::xml_node lastBlock;
        if (isBody)
            for (pugi::xml_node c = container.last_child(); c; c = c.previous_sibling())
                if (is(c, "w:p") || is(c, "w:tbl") || is(c, "w:sdt")) {
                    lastBlock = c;
                    break;
                }
        std::vector<Block> out;
        for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            if (is(c, "w:p")) {
                ParagraphBlock p = paragraph(c, fields);
                pugi::xml_node next = c.next_sibling();
                while (next && next.type() != pugi::node_element)
                    next = next.next_sibling();
                p.followedBy = is(next, "w:p")     ? FollowedBy::Paragraph
                               : is(next, "w:tbl") ? FollowedBy::Table
                                                   : FollowedBy::Other;
                p.lastOfBody = c == lastBlock;
                out.push_back(Block{std::move(p)});
            } else if (is(c, "w:tbl")) {
                out.push_back(Block{table(c)});
            } else if (is(c, "w:sdt")) {
                out.push_back(Block{BlockGroup{blocks(c.child("w:sdtContent"), fields, false)}});
            } else if (is(c, "w:customXml")) {
                out.push_back(Block{BlockGroup{blocks(c, fields, false)}});
            }
        }
        return out;
    }

    ParagraphBlock paragraph(const pugi::xml_node& p, FieldStack& fields) {
        const pugi::xml_node pPr = p.child("w:pPr");
        const ResolvedStyle& style =
            m_styles.paragraphStyle(pPr.child("w:pStyle").attribute("w:val").value());
        ParagraphBlock out;
        out.props = style.para;
        StyleSheet::applyPPr(pPr, out.props);
        out.mark = style.chars;
        StyleSheet::applyRPr(pPr.child("w:rPr"), out.mark);
        inlineContent(p, style.chars, fields, out.content);
        const pugi::xml_node sect = pPr.child("w:sectPr");
        out.endsSection =
            sect && std::strcmp(sect.child("w:type").attribute("w:val").value(), "continuous") != 0;
        return out;
    }

    // ---- inline content -------------------------------------------------------------------

    void inlineContent(const pugi::xml_node& container, const CharProps& base, FieldStack& fields,
                       std::vector<InlineItem>& out) {
        for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            const char* name = c.name();
            if (!std::strcmp(name, "w:r")) {
                run(c, base, fields, out);
            } else if (!std::strcmp(name, "w:fldSimple")) {
                const QString code =
                    qs(c.attribute("w:instr").value()).trimmed().section(u' ', 0, 0).toUpper();
                if (isPageField(code)) {
                    CharProps chars = base;
                    StyleSheet::applyRPr(c.child("w:r").child("w:rPr"), chars);
                    if (fields.active())
                        out.push_back(pageField(code, chars));
                } else {
                    inlineContent(c, base, fields, out);
                }
            } else if (!std::strcmp(name, "w:sdt")) {
                inlineContent(c.child("w:sdtContent"), base, fields, out);
            } else if (isRunContainer(c)) {
                inlineContent(c, base, fields, out);
            }
        }
    }

    static void addText(const QString& text, const CharProps& chars, std::vector<InlineItem>& out) {
        if (text.isEmpty())
            return;
        InlineItem item;
        item.chars = chars;
        item.text = chars.caps ? text.toUpper() : text;
        out.push_back(std::move(item));
    }

    void run(const pugi::xml_node& r, const CharProps& base, FieldStack& fields,
             std::vector<InlineItem>& out) {
        CharProps c = base;
        const pugi::xml_node rPr = r.child("w:rPr");
        if (const char* rs = rPr.child("w:rStyle").attribute("w:val").value(); *rs)
            m_styles.applyCharacterStyle(rs, c);
        StyleSheet::applyRPr(rPr, c);
        for (pugi::xml_node k = r.first_child(); k; k = k.next_sibling()) {
            const char* name = k.name();
            if (name[0] != 'w' || name[1] != ':')
                continue;
            name += 2;
            if (!std::strcmp(name, "fldChar")) {
                fieldChar(k, c, fields, out);
                continue;
            }
            if (!std::strcmp(name, "instrText")) {
                if (!fields.frames.empty() && !fields.frames.back().inResult)
                    fields.frames.back().instr += qs(k.child_value());
                continue;
            }
            if (!fields.active() || c.hidden)
                continue;
            if (!std::strcmp(name, "t")) {
                addText(qs(k.child_value()), c, out);
            } else if (!std::strcmp(name, "tab") || !std::strcmp(name, "ptab")) {
                out.push_back(InlineItem{.kind = InlineItem::Kind::Tab, .chars = c});
            } else if (!std::strcmp(name, "br") || !std::strcmp(name, "cr")) {
                const bool page = !std::strcmp(k.attribute("w:type").value(), "page");
                out.push_back(InlineItem{
                    .kind = page ? InlineItem::Kind::PageBreak : InlineItem::Kind::LineBreak, .chars = c});
            } else if (!std::strcmp(name, "noBreakHyphen")) {
                addText(QStringLiteral("-"), c, out);
            } else if (!std::strcmp(name, "sym")) {
                bool ok = false;
                uint code = qs(k.attribute("w:char").value()).toUInt(&ok, 16);
                if (ok) {
                    // Symbol fonts write their characters in the private-use area.
                    if (code >= 0xF000)
                        code -= 0xF000;
                    CharProps symbol = c;
                    if (const char* f = k.attribute("w:font").value(); *f)
                        symbol.font = qs(f);
                    addText(QString(QChar(char16_t(code))), symbol, out);
                }
            } else if (!std::strcmp(name, "drawing")) {
                drawing(k, out);
            } else if (!std::strcmp(name, "pict")) {
                vmlPicture(k, out);
            }
        }
    }

    void fieldChar(const pugi::xml_node& fc, const CharProps& c, FieldStack& fields,
                   std::vector<InlineItem>& out) {
        const char* type = fc.attribute("w:fldCharType").value();
        if (!std::strcmp(type, "begin")) {
            FieldFrame f;
            const pugi::xml_node box = fc.child("w:ffData").child("w:checkBox");
            if (box) {
                f.checkBox = true;
                const pugi::xml_node chk = box.child("w:checked");
                f.checked = chk ? onOff(chk) : onOff(box.child("w:default"), false);
                const int size = intVal(box.child("w:size"), "w:val", 0);
                f.boxSize = (size > 0 ? size : c.halfPoints) * static_cast<qreal>(kTwipsPerHalfPoint);
            }
            fields.frames.push_back(f);
        } else if (!std::strcmp(type, "separate")) {
            if (fields.frames.empty())
                return;
            FieldFrame& f = fields.frames.back();
            f.inResult = true;
            const QString code = f.code();
            if (code == QLatin1String("FORMCHECKBOX"))
                f.checkBox = true;
            if (f.checkBox) {
                f.ownResult = true;
            } else if (isPageField(code)) {
                // The number written in the file is stale: the layout counts the pages.
                f.ownResult = true;
                if (fields.active(fields.frames.size() - 1))
                    out.push_back(pageField(code, c));
            }
        } else if (!std::strcmp(type, "end")) {
            if (fields.frames.empty())
                return;
            FieldFrame f = fields.frames.back();
            fields.frames.pop_back();
            if (!fields.active())
                return;
            const QString code = f.code();
            if (f.checkBox || code == QLatin1String("FORMCHECKBOX")) {
                if (f.boxSize <= 0)
                    f.boxSize = c.halfPoints * static_cast<qreal>(kTwipsPerHalfPoint);
                out.push_back(InlineItem{.kind = InlineItem::Kind::CheckBox,
                                         .chars = c,
                                         .boxSize = f.boxSize,
                                         .checked = f.checked});
            } else if (!f.inResult && isPageField(code)) {
                out.push_back(pageField(code, c));
            }
        }
    }

    void drawing(const pugi::xml_node& drawing, std::vector<InlineItem>& out) {
        const pugi::xml_node inl = drawing.child("wp:inline");
        if (!inl)
            return; // floating pictures are not laid out
        const pugi::xml_node ext = inl.child("wp:extent");
        pugi::xml_node blip;
        for (pugi::xml_node n = inl; n; n = nextInOrder(n, inl, false))
            if (is(n, "a:blip")) {
                blip = n;
                break;
            }
        InlineItem item{.kind = InlineItem::Kind::Picture};
        item.width = ext.attribute("cx").as_llong() / kEmuPerTwip;
        item.height = ext.attribute("cy").as_llong() / kEmuPerTwip;
        if (blip)
            item.pictureTarget = m_part->relationshipTarget(qs(blip.attribute("r:embed").value()));
        out.push_back(std::move(item));
    }

    void vmlPicture(const pugi::xml_node& pict, std::vector<InlineItem>& out) {
        const pugi::xml_node shape = pict.child("v:shape");
        const pugi::xml_node data = shape.child("v:imagedata");
        if (!data)
            return;
        qreal w = 0, h = 0;
        for (const QString& part : qs(shape.attribute("style").value()).split(u';')) {
            const QString key = part.section(u':', 0, 0).trimmed();
            const QString value = part.section(u':', 1).trimmed();
            if (key == QLatin1String("width"))
                w = vmlLength(value);
            else if (key == QLatin1String("height"))
                h = vmlLength(value);
        }
        if (w <= 0 || h <= 0)
            return;
        InlineItem item{.kind = InlineItem::Kind::Picture, .width = w, .height = h};
        item.pictureTarget = m_part->relationshipTarget(qs(data.attribute("r:id").value()));
        out.push_back(std::move(item));
    }

    // ---- tables ---------------------------------------------------------------------------

    static std::vector<pugi::xml_node> childrenThroughControls(const pugi::xml_node& parent,
                                                               const char* name) {
        std::vector<pugi::xml_node> out;
        for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
            if (is(c, name))
                out.push_back(c);
            else if (is(c, "w:sdt"))
                for (pugi::xml_node cc = c.child("w:sdtContent").child(name); cc; cc = cc.next_sibling(name))
                    out.push_back(cc);
        }
        return out;
    }

    static int largestHalfPoints(const pugi::xml_node& tc) {
        int largest = 0;
        for (const pugi::xpath_node& sz : tc.select_nodes(".//w:rPr/w:sz"))
            largest = std::max(largest, intVal(sz.node(), "w:val", 0));
        return largest > 0 ? largest : kDefaultHalfPoints;
    }

    TableBlock table(const pugi::xml_node& tbl) {
        TableBlock out;
        const pugi::xml_node tblPr = tbl.child("w:tblPr");
        CellMargins cellMargins{.left = kDefaultCellSideMargin, .right = kDefaultCellSideMargin};
        QVector<pugi::xml_node> properties =
            m_styles.tableStyleChain(tblPr.child("w:tblStyle").attribute("w:val").value());
        properties.push_back(tblPr); // the table's own, over its style's
        for (const pugi::xml_node& s : properties) {
            readBorders(s.child("w:tblBorders"), out.borders);
            readMargins(s.child("w:tblCellMar"), cellMargins);
            out.indent = intVal(s.child("w:tblInd"), "w:w", static_cast<int>(out.indent));
            if (pugi::xml_node j = s.child("w:jc"))
                out.alignment = alignmentFrom(val(j), out.alignment);
        }
        for (pugi::xml_node g = tbl.child("w:tblGrid").child("w:gridCol"); g; g = g.next_sibling("w:gridCol"))
            out.grid.push_back(std::max(0, intVal(g, "w:w", 0)));
        const std::vector<pugi::xml_node> rows = childrenThroughControls(tbl, "w:tr");
        if (out.grid.empty() && !rows.empty())
            for (pugi::xml_node c = rows.front().child("w:tc"); c; c = c.next_sibling("w:tc")) {
                const int span = std::max(1, intVal(c.child("w:tcPr").child("w:gridSpan"), "w:val", 1));
                const qreal w = intVal(c.child("w:tcPr").child("w:tcW"), "w:w", 0);
                for (int i = 0; i < span; ++i)
                    out.gridGuess.push_back(w > 0 ? w / span : 0);
            }
        for (const pugi::xml_node& tr : rows)
            out.rows.push_back(row(tr, cellMargins));
        return out;
    }

    TableRowBlock row(const pugi::xml_node& tr, const CellMargins& cellMargins) {
        TableRowBlock out;
        const pugi::xml_node trPr = tr.child("w:trPr");
        if (const pugi::xml_node h = trPr.child("w:trHeight")) {
            out.heightStated = true;
            out.height.value = intVal(h, "w:val", 0);
            const char* rule = h.attribute("w:hRule").value();
            out.height.rule = !std::strcmp(rule, "exact")  ? HeightRule::Exact
                              : !std::strcmp(rule, "auto") ? HeightRule::Auto
                                                           : HeightRule::AtLeast;
        }
        out.header = onOff(trPr.child("w:tblHeader"), false);
        out.gridBefore = intVal(trPr.child("w:gridBefore"), "w:val", 0);
        for (const pugi::xml_node& tc : childrenThroughControls(tr, "w:tc"))
            out.cells.push_back(cell(tc, cellMargins));
        return out;
    }

    TableCellBlock cell(const pugi::xml_node& tc, const CellMargins& cellMargins) {
        TableCellBlock out;
        const pugi::xml_node tcPr = tc.child("w:tcPr");
        out.gridSpan = std::max(1, intVal(tcPr.child("w:gridSpan"), "w:val", 1));
        if (const int w = intVal(tcPr.child("w:tcW"), "w:w", INT_MIN); w != INT_MIN)
            out.statedWidth = w;
        out.margins = cellMargins;
        readMargins(tcPr.child("w:tcMar"), out.margins);
        if (const pugi::xml_node vm = tcPr.child("w:vMerge"))
            out.merge = !std::strcmp(val(vm), "restart") ? VerticalMerge::Restart : VerticalMerge::Continue;
        if (pugi::xml_node shd = tcPr.child("w:shd"))
            out.fill = colorValue(shd.attribute("w:fill").value()).value_or(0);
        const char* va = val(tcPr.child("w:vAlign"));
        out.align = !std::strcmp(va, "center")   ? VerticalAlignment::Center
                    : !std::strcmp(va, "bottom") ? VerticalAlignment::Bottom
                                                 : VerticalAlignment::Top;
        if (pugi::xml_node tb = tcPr.child("w:tcBorders")) {
            auto one = [&](const char* name, const char* alternative, std::optional<BorderLine>& b) {
                if (const pugi::xml_node e = edge(tb, name, alternative))
                    b = readBorder(e);
            };
            one("w:top", nullptr, out.top);
            one("w:left", "w:start", out.left);
            one("w:bottom", nullptr, out.bottom);
            one("w:right", "w:end", out.right);
        }
        out.fitText = !tcPr.child("w:tcFitText").empty();
        if (out.fitText)
            out.largestHalfPoints = largestHalfPoints(tc);
        FieldStack fields; // a field does not run from one cell into another
        out.content = blocks(tc, fields, false);
        return out;
    }

    // ---- headers and footers --------------------------------------------------------------

    std::optional<std::vector<Block>> decorationPart(const pugi::xml_node& ref) {
        if (!ref)
            return std::nullopt;
        XmlPart* part = m_d.auxPart(m_d.main.relationshipTarget(qs(ref.attribute("r:id").value())));
        if (!part)
            return std::nullopt;
        m_part = part;
        FieldStack fields;
        std::vector<Block> out = blocks(part->xml.document_element(), fields, false);
        m_part = &m_d.main;
        return out;
    }

    PageDecoration decoration(const char* refName) {
        const pugi::xml_node sect = m_d.finalSectPr();
        PageDecoration out;
        out.titlePage = onOff(sect.child("w:titlePg"), false);
        pugi::xml_node first, other;
        for (pugi::xml_node ref = sect.child(refName); ref; ref = ref.next_sibling(refName)) {
            const char* type = ref.attribute("w:type").value();
            if (!std::strcmp(type, "first"))
                first = ref;
            else if (!*type || !std::strcmp(type, "default"))
                other = ref;
        }
        if (out.titlePage)
            out.first = decorationPart(first);
        out.other = decorationPart(other);
        return out;
    }

    DocumentData& m_d;
    StyleSheet m_styles;
    XmlPart* m_part = nullptr;
};

} // namespace

DocumentModel readBlockModel(DocumentData& document) {
    return ModelReader(document).read();
}

} // namespace velmora::docengine
