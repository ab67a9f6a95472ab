#include "platform/docengine/DocumentLayout.h"

#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentData.h"
#include "platform/docengine/StyleSheet.h"
#include "platform/docengine/WordXml.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>

namespace velmora::docengine {

using namespace wx;

QString renderFamily(const QString& documentFont) {
    // The face itself when installed (Windows), else its metric-compatible Liberation twin, so
    // that lines and pages break in the same places everywhere.
    static QHash<QString, QString> cache;
    auto it = cache.constFind(documentFont);
    if (it != cache.cend())
        return *it;
    const QString f = documentFont.trimmed().toLower();
    QString twin;
    if (f == QLatin1String("times new roman") || f == QLatin1String("times") ||
        f == QLatin1String("cg times"))
        twin = QStringLiteral("Liberation Serif");
    else if (f == QLatin1String("arial") || f == QLatin1String("helvetica"))
        twin = QStringLiteral("Liberation Sans");
    else if (f == QLatin1String("courier new") || f == QLatin1String("courier"))
        twin = QStringLiteral("Liberation Mono");
    QString chosen = documentFont;
    if (!twin.isEmpty() && (f == QLatin1String("cg times") || !QFontDatabase::hasFamily(documentFont)) &&
        QFontDatabase::hasFamily(twin))
        chosen = twin;
    cache.insert(documentFont, chosen);
    return chosen;
}

void PageContent::append(const PageContent& o, QPointF off) {
    for (PageFill f : o.fills) {
        f.rect.translate(off);
        fills.push_back(f);
    }
    for (PageImage i : o.images) {
        i.rect.translate(off);
        images.push_back(i);
    }
    for (const PageText& t : o.texts)
        texts.push_back(PageText{t.pos + off, t.text, t.font, t.color});
    for (PageLine l : o.lines) {
        l.from += off;
        l.to += off;
        lines.push_back(l);
    }
    for (PageCheckBox b : o.boxes) {
        b.rect.translate(off);
        boxes.push_back(b);
    }
}

bool PageContent::isEmpty() const {
    return fills.empty() && images.empty() && texts.empty() && lines.empty() && boxes.empty();
}

namespace {

struct FontEntry {
    QFont font;
    QFontMetricsF fm;
    qreal ascent = 0;
    qreal descent = 0;
    qreal leading = 0;
    QHash<QString, qreal> widths;

    explicit FontEntry(const QFont& f) : font(f), fm(f) {
        ascent = fm.ascent();
        descent = fm.descent();
        leading = std::max<qreal>(0, fm.lineSpacing() - fm.ascent() - fm.descent());
    }
    qreal width(const QString& s) {
        auto it = widths.constFind(s);
        if (it != widths.cend())
            return *it;
        const qreal w = fm.horizontalAdvance(s);
        widths.insert(s, w);
        return w;
    }
};

enum class AtomKind { Text, Image, CheckBox, Tab, LineBreak, PageBreak };

struct Atom {
    AtomKind kind = AtomKind::Text;
    QString text;
    int font = -1;
    QRgb color = 0xff000000;
    qreal width = 0;
    qreal trimmed = 0; // width without trailing blanks
    qreal height = 0;  // objects
    qreal rise = 0;    // superscript / subscript shift
    int image = -1;
    bool checked = false;
    bool breakAfter = false;
};

struct Frag {
    AtomKind kind = AtomKind::Text;
    qreal x = 0;
    qreal width = 0;
    qreal height = 0;
    qreal rise = 0;
    QString text;
    int font = -1;
    QRgb color = 0xff000000;
    int image = -1;
    bool checked = false;
    bool trailingBlank = false;
};

struct Line {
    std::vector<Frag> frags;
    qreal x = 0; // start relative to the text column
    qreal height = 0;
    qreal baseline = 0;
    bool pageBreakAfter = false;
    bool onlyBreak = false;
};

struct ParaBox {
    std::vector<Line> lines;
    qreal spaceBefore = 0;
    qreal spaceAfter = 0;
    bool pageBreakBefore = false;
    bool keepNext = false;
    bool hasContent = false;
};

struct FieldFrame {
    bool inResult = false;
    bool ownResult = false; // the result is drawn by the renderer, not from the file
    bool checkBox = false;
    bool checked = false;
    bool emitted = false;
    qreal boxSize = 0;
    QString instr;
};

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

struct Border {
    bool on = false;
    qreal width = 0;
    QRgb color = 0xff000000;
    bool operator==(const Border& o) const { return on == o.on && width == o.width && color == o.color; }
};

struct TableBorders {
    Border top, left, bottom, right, insideH, insideV;
};

Border parseBorder(const pugi::xml_node& e) {
    Border b;
    if (!e)
        return b;
    const char* v = val(e);
    if (!*v || !std::strcmp(v, "nil") || !std::strcmp(v, "none"))
        return b;
    b.on = true;
    const int sz = intVal(e, "w:sz", 4);
    b.width = std::max<qreal>(5.0, sz * 2.5); // eighths of a point to twips, at least 1/4 pt
    if (!std::strcmp(v, "double"))
        b.width *= 3;
    const char* c = e.attribute("w:color").value();
    if (*c && std::strcmp(c, "auto") != 0) {
        const QColor qc(QLatin1Char('#') + qs(c));
        if (qc.isValid())
            b.color = qc.rgba();
    }
    return b;
}

void applyBorders(const pugi::xml_node& tblBorders, TableBorders& b) {
    if (!tblBorders)
        return;
    auto edge = [&](const char* a, const char* alt, Border& out) {
        pugi::xml_node e = tblBorders.child(a);
        if (!e && alt)
            e = tblBorders.child(alt);
        if (e)
            out = parseBorder(e);
    };
    edge("w:top", nullptr, b.top);
    edge("w:left", "w:start", b.left);
    edge("w:bottom", nullptr, b.bottom);
    edge("w:right", "w:end", b.right);
    edge("w:insideH", nullptr, b.insideH);
    edge("w:insideV", nullptr, b.insideV);
}

struct Margins {
    qreal top = 0, left = 108, bottom = 0, right = 108;
};

void applyMargins(const pugi::xml_node& mar, Margins& m) {
    if (!mar)
        return;
    auto one = [&](const char* a, const char* alt, qreal& out) {
        pugi::xml_node e = mar.child(a);
        if (!e && alt)
            e = mar.child(alt);
        if (e)
            out = intVal(e, "w:w", static_cast<int>(out));
    };
    one("w:top", nullptr, m.top);
    one("w:left", "w:start", m.left);
    one("w:bottom", nullptr, m.bottom);
    one("w:right", "w:end", m.right);
}

struct CellModel {
    qreal x = 0;
    qreal width = 0;
    Margins mar;
    PageContent content;
    qreal contentHeight = 0;
    QRgb fill = 0;
    int vAlign = 0; // 0 top, 1 centre, 2 bottom
    int vMerge = 0; // 0 none, 1 restart, 2 continue
    bool mergedBelow = false;
    bool hasTop = false, hasLeft = false, hasBottom = false, hasRight = false;
    Border top, left, bottom, right;
};

struct RowModel {
    std::vector<CellModel> cells;
    qreal height = 0;
    bool header = false;
};

struct TableModel {
    std::vector<RowModel> rows;
    TableBorders borders;
};

// Paginated flow of blocks, or an unbounded box (cell contents, headers, footers).
struct Flow {
    std::vector<PageContent>* pages = nullptr;
    PageContent* box = nullptr;
    qreal top = 0;
    qreal bottom = 0;
    qreal y = 0;
    bool pageHasContent = false;
    bool breakPending = false;

    bool paginated() const { return pages != nullptr; }
    PageContent& out() { return paginated() ? pages->back() : *box; }
    void newPage() {
        pages->emplace_back();
        y = top;
        pageHasContent = false;
        breakPending = false;
    }
    void applyPendingBreak() {
        if (paginated() && breakPending)
            newPage();
    }
};

// Merges collinear border segments so that a long table costs a few lines per page.
class LineMerger {
public:
    void vertical(qreal x, qreal y0, qreal y1, const Border& b, PageContent& out) {
        const Key k{x, b.width, b.color};
        auto it = m_open.find(k);
        if (it != m_open.end()) {
            if (std::abs(it->second.second - y0) < 0.5) {
                it->second.second = std::max(it->second.second, y1);
                return;
            }
            out.lines.push_back(PageLine{{x, it->second.first}, {x, it->second.second}, b.width, b.color});
            it->second = {y0, y1};
            return;
        }
        m_open.emplace(k, std::make_pair(y0, y1));
    }
    void flush(PageContent& out) {
        for (const auto& [k, span] : m_open)
            out.lines.push_back(PageLine{
                {std::get<0>(k), span.first}, {std::get<0>(k), span.second}, std::get<1>(k), std::get<2>(k)});
        m_open.clear();
    }

private:
    using Key = std::tuple<qreal, qreal, QRgb>;
    std::map<Key, std::pair<qreal, qreal>> m_open;
};

void horizontalSegments(std::vector<std::tuple<qreal, qreal, Border>>& segs, qreal y, PageContent& out) {
    // Segments arrive left to right; contiguous ones of the same style become one line.
    size_t i = 0;
    while (i < segs.size()) {
        auto [x0, x1, b] = segs[i];
        size_t j = i + 1;
        while (j < segs.size() && std::get<2>(segs[j]) == b && std::abs(std::get<0>(segs[j]) - x1) < 0.5) {
            x1 = std::get<1>(segs[j]);
            ++j;
        }
        if (b.on)
            out.lines.push_back(PageLine{{x0, y}, {x1, y}, b.width, b.color});
        i = j;
    }
    segs.clear();
}

bool isBlank(QChar c) {
    return c == QChar(' ') || c == QChar(0x2002) || c == QChar(0x2003);
}

} // namespace

struct DocumentLayout::Private {
    std::vector<PageContent> pages;
    std::vector<QFont> fonts;
    std::vector<QImage> images;
    mutable std::vector<std::unique_ptr<BilevelImage>> bilevels;
    QSizeF pageSize;
};

namespace {

class Layouter {
public:
    Layouter(DocumentData& d, DocumentLayout::Private& out) : m_d(d), m_out(out) {}

    void run() {
        XmlPart* styles = m_d.partByRelType(kRelStyles);
        XmlPart* settings = m_d.partByRelType(kRelSettings);
        m_styles.load(styles ? styles->xml.document_element() : pugi::xml_node(),
                      settings ? settings->xml.document_element() : pugi::xml_node());
        m_page = m_d.pageSetup();
        m_out.pageSize = QSizeF(m_page.width, m_page.height);

        Flow flow;
        flow.pages = &m_out.pages;
        flow.top = m_page.marginTop;
        flow.bottom = m_page.height - m_page.marginBottom;
        flow.newPage();
        m_part = &m_d.main;
        FieldStack fields;
        placeBlocks(m_d.body(), m_page.marginLeft, m_page.contentWidth(), flow, fields, true);
        if (m_out.pages.empty())
            m_out.pages.emplace_back();
        placeHeadersAndFooters();
    }

private:
    // ---- resources ------------------------------------------------------------------------

    int fontFor(const CharProps& c, qreal scale = 1.0) {
        int hp = std::max(1, static_cast<int>(std::lround(c.halfPoints * scale)));
        if (m_sizeCap > 0)
            hp = std::min(hp, m_sizeCap);
        const QString key = QStringLiteral("%1|%2|%3%4%5%6")
                                .arg(c.font)
                                .arg(hp)
                                .arg(c.bold ? 'b' : '-')
                                .arg(c.italic ? 'i' : '-')
                                .arg(c.underline ? 'u' : '-')
                                .arg(c.strike ? 's' : '-');
        auto it = m_fontIndex.constFind(key);
        if (it != m_fontIndex.cend())
            return *it;
        QFont f(renderFamily(c.font));
        f.setPixelSize(hp * 10);
        f.setBold(c.bold);
        f.setItalic(c.italic);
        f.setUnderline(c.underline);
        f.setStrikeOut(c.strike);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(true);
        m_out.fonts.push_back(f);
        m_fonts.push_back(std::make_unique<FontEntry>(f));
        const int index = static_cast<int>(m_fonts.size()) - 1;
        m_fontIndex.insert(key, index);
        return index;
    }

    int imageFor(const QString& rId) {
        const QString target = m_part->relationshipTarget(rId);
        if (target.isEmpty())
            return -1;
        auto it = m_imageIndex.constFind(target);
        if (it != m_imageIndex.cend())
            return *it;
        QImage img = QImage::fromData(m_d.package.part(target));
        int index = -1;
        if (!img.isNull()) {
            m_out.images.push_back(img);
            m_out.bilevels.emplace_back();
            index = static_cast<int>(m_out.images.size()) - 1;
        }
        m_imageIndex.insert(target, index);
        return index;
    }

    // ---- inline content -------------------------------------------------------------------

    void addText(QString text, const CharProps& c, std::vector<Atom>& atoms) {
        if (text.isEmpty())
            return;
        if (c.caps)
            text = text.toUpper();
        const qreal scale = c.vertAlign ? 0.65 : 1.0;
        const int font = fontFor(c, scale);
        FontEntry& fe = *m_fonts[static_cast<size_t>(font)];
        const qreal rise = c.vertAlign > 0   ? c.halfPoints * 10 * 0.33
                           : c.vertAlign < 0 ? -c.halfPoints * 10 * 0.14
                                             : 0;
        int i = 0;
        const int n = text.size();
        while (i < n) {
            int j = i;
            while (j < n && !isBlank(text.at(j)))
                ++j;
            int k = j;
            while (k < n && isBlank(text.at(k)))
                ++k;
            Atom a;
            a.kind = AtomKind::Text;
            a.text = text.mid(i, k - i);
            a.font = font;
            a.color = c.color;
            a.rise = rise;
            a.width = fe.width(a.text);
            a.trimmed = (k > j) ? fe.width(text.mid(i, j - i)) : a.width;
            a.breakAfter = k > j;
            atoms.push_back(std::move(a));
            i = k;
        }
    }

    void addObject(Atom a, std::vector<Atom>& atoms) {
        if (!atoms.empty())
            atoms.back().breakAfter = true;
        a.breakAfter = true;
        atoms.push_back(std::move(a));
    }

    void addPageField(bool count, const CharProps& c, std::vector<Atom>& atoms) {
        const int value = count ? m_pageCount : m_pageNumber;
        addText(QString::number(std::max(1, value)), c, atoms);
    }

    void fieldChar(const pugi::xml_node& fc, const CharProps& c, FieldStack& fs, std::vector<Atom>& atoms) {
        const char* type = fc.attribute("w:fldCharType").value();
        if (!std::strcmp(type, "begin")) {
            FieldFrame f;
            const pugi::xml_node box = fc.child("w:ffData").child("w:checkBox");
            if (box) {
                f.checkBox = true;
                const pugi::xml_node chk = box.child("w:checked");
                f.checked = chk ? onOff(chk) : onOff(box.child("w:default"), false);
                const int size = intVal(box.child("w:size"), "w:val", 0);
                f.boxSize = (size > 0 ? size : c.halfPoints) * 10.0;
            }
            fs.frames.push_back(f);
        } else if (!std::strcmp(type, "separate")) {
            if (fs.frames.empty())
                return;
            FieldFrame& f = fs.frames.back();
            f.inResult = true;
            const QString code = f.instr.trimmed().section(' ', 0, 0).toUpper();
            if (code == QLatin1String("FORMCHECKBOX"))
                f.checkBox = true;
            if (f.checkBox) {
                f.ownResult = true;
            } else if (code == QLatin1String("PAGE") || code == QLatin1String("NUMPAGES")) {
                f.ownResult = true;
                if (fs.active(fs.frames.size() - 1))
                    addPageField(code == QLatin1String("NUMPAGES"), c, atoms);
            }
        } else if (!std::strcmp(type, "end")) {
            if (fs.frames.empty())
                return;
            FieldFrame f = fs.frames.back();
            fs.frames.pop_back();
            if (!fs.active())
                return;
            const QString code = f.instr.trimmed().section(' ', 0, 0).toUpper();
            if (f.checkBox || code == QLatin1String("FORMCHECKBOX")) {
                if (f.boxSize <= 0)
                    f.boxSize = c.halfPoints * 10.0;
                Atom a;
                a.kind = AtomKind::CheckBox;
                a.checked = f.checked;
                a.height = f.boxSize * 0.75;
                a.width = a.height + f.boxSize * 0.15;
                a.trimmed = a.width;
                addObject(a, atoms);
            } else if (!f.inResult && (code == QLatin1String("PAGE") || code == QLatin1String("NUMPAGES"))) {
                addPageField(code == QLatin1String("NUMPAGES"), c, atoms);
            }
        }
    }

    void drawingAtom(const pugi::xml_node& drawing, std::vector<Atom>& atoms) {
        const pugi::xml_node inl = drawing.child("wp:inline");
        if (!inl)
            return; // floating pictures are not laid out
        const pugi::xml_node ext = inl.child("wp:extent");
        const qreal w = ext.attribute("cx").as_llong() / 635.0;
        const qreal h = ext.attribute("cy").as_llong() / 635.0;
        pugi::xml_node blip;
        for (pugi::xml_node n = inl; n; n = nextInOrder(n, inl, false))
            if (is(n, "a:blip")) {
                blip = n;
                break;
            }
        Atom a;
        a.kind = AtomKind::Image;
        a.width = a.trimmed = w;
        a.height = h;
        a.image = blip ? imageFor(qs(blip.attribute("r:embed").value())) : -1;
        addObject(a, atoms);
    }

    void vmlAtom(const pugi::xml_node& pict, std::vector<Atom>& atoms) {
        const pugi::xml_node shape = pict.child("v:shape");
        const pugi::xml_node data = shape.child("v:imagedata");
        if (!data)
            return;
        qreal w = 0, h = 0;
        for (const QString& part : qs(shape.attribute("style").value()).split(';')) {
            const QString key = part.section(':', 0, 0).trimmed();
            QString value = part.section(':', 1).trimmed();
            qreal factor = 20; // points
            if (value.endsWith(QLatin1String("in")))
                factor = 1440;
            else if (value.endsWith(QLatin1String("cm")))
                factor = 1440 / 2.54;
            else if (value.endsWith(QLatin1String("mm")))
                factor = 144 / 2.54;
            value.remove(QRegularExpression(QStringLiteral("[a-z]+$")));
            if (key == QLatin1String("width"))
                w = value.toDouble() * factor;
            else if (key == QLatin1String("height"))
                h = value.toDouble() * factor;
        }
        if (w <= 0 || h <= 0)
            return;
        Atom a;
        a.kind = AtomKind::Image;
        a.width = a.trimmed = w;
        a.height = h;
        a.image = imageFor(qs(data.attribute("r:id").value()));
        addObject(a, atoms);
    }

    void runAtoms(const pugi::xml_node& r, const CharProps& base, FieldStack& fs, std::vector<Atom>& atoms) {
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
                fieldChar(k, c, fs, atoms);
                continue;
            }
            if (!std::strcmp(name, "instrText")) {
                if (!fs.frames.empty() && !fs.frames.back().inResult)
                    fs.frames.back().instr += qs(k.child_value());
                continue;
            }
            if (!fs.active() || c.hidden)
                continue;
            if (!std::strcmp(name, "t")) {
                addText(qs(k.child_value()), c, atoms);
            } else if (!std::strcmp(name, "tab") || !std::strcmp(name, "ptab")) {
                Atom a;
                a.kind = AtomKind::Tab;
                a.breakAfter = true;
                a.font = fontFor(c);
                atoms.push_back(a);
            } else if (!std::strcmp(name, "br") || !std::strcmp(name, "cr")) {
                Atom a;
                a.kind = !std::strcmp(k.attribute("w:type").value(), "page") ? AtomKind::PageBreak
                                                                             : AtomKind::LineBreak;
                atoms.push_back(a);
            } else if (!std::strcmp(name, "noBreakHyphen")) {
                addText(QStringLiteral("-"), c, atoms);
            } else if (!std::strcmp(name, "sym")) {
                bool ok = false;
                uint code = qs(k.attribute("w:char").value()).toUInt(&ok, 16);
                if (ok) {
                    if (code >= 0xF000)
                        code -= 0xF000;
                    CharProps sc = c;
                    if (const char* f = k.attribute("w:font").value(); *f)
                        sc.font = qs(f);
                    addText(QString(QChar(char16_t(code))), sc, atoms);
                }
            } else if (!std::strcmp(name, "drawing")) {
                drawingAtom(k, atoms);
            } else if (!std::strcmp(name, "pict")) {
                vmlAtom(k, atoms);
            }
        }
    }

    void collect(const pugi::xml_node& container, const CharProps& base, FieldStack& fs,
                 std::vector<Atom>& atoms) {
        for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            const char* name = c.name();
            if (!std::strcmp(name, "w:r")) {
                runAtoms(c, base, fs, atoms);
            } else if (!std::strcmp(name, "w:fldSimple")) {
                const QString code =
                    qs(c.attribute("w:instr").value()).trimmed().section(' ', 0, 0).toUpper();
                if (code == QLatin1String("PAGE") || code == QLatin1String("NUMPAGES")) {
                    CharProps cp = base;
                    StyleSheet::applyRPr(c.child("w:r").child("w:rPr"), cp);
                    if (fs.active())
                        addPageField(code == QLatin1String("NUMPAGES"), cp, atoms);
                } else {
                    collect(c, base, fs, atoms);
                }
            } else if (!std::strcmp(name, "w:sdt")) {
                collect(c.child("w:sdtContent"), base, fs, atoms);
            } else if (isRunContainer(c)) {
                collect(c, base, fs, atoms);
            }
        }
    }

    // ---- lines ----------------------------------------------------------------------------

    qreal nextTabStop(qreal pos, const ParaProps& pp) const {
        for (Twips t : pp.tabStops)
            if (t > pos + 1)
                return t;
        if (pp.firstLine < 0 && pp.indentLeft > pos + 1)
            return pp.indentLeft;
        const qreal step = m_styles.defaultTabStop();
        return (std::floor(pos / step) + 1) * step;
    }

    void finishLine(Line& line, qreal available, const ParaProps& pp, int markFont, bool lastOfParagraph,
                    bool explicitBreak) {
        qreal ascent = 0, descent = 0, leading = 0;
        bool text = false;
        for (const Frag& f : line.frags) {
            if (f.kind == AtomKind::Text) {
                const FontEntry& fe = *m_fonts[static_cast<size_t>(f.font)];
                ascent = std::max(ascent, fe.ascent + std::max<qreal>(0, f.rise));
                descent = std::max(descent, fe.descent - std::min<qreal>(0, f.rise));
                leading = std::max(leading, fe.leading);
                text = true;
            } else if (f.kind == AtomKind::Image || f.kind == AtomKind::CheckBox) {
                ascent = std::max(ascent, f.height);
            }
        }
        if (!text) {
            const FontEntry& fe = *m_fonts[static_cast<size_t>(markFont)];
            ascent = std::max(ascent, fe.ascent);
            descent = std::max(descent, fe.descent);
            leading = std::max(leading, fe.leading);
        }
        const qreal natural = ascent + descent + leading;
        switch (pp.lineRule) {
        case LineRule::Auto:
            line.height = natural * std::max(pp.line, 1) / 240.0;
            break;
        case LineRule::AtLeast:
            line.height = std::max<qreal>(pp.line, natural);
            break;
        case LineRule::Exact:
            line.height = std::max(1, pp.line);
            break;
        }
        line.baseline = std::max(ascent * 0.5, line.height - descent - leading);

        // Width used, without trailing blanks.
        qreal used = 0;
        if (!line.frags.empty()) {
            const Frag& last = line.frags.back();
            used = last.x + last.width;
            if (last.kind == AtomKind::Text && last.trailingBlank) {
                QString t = last.text;
                while (!t.isEmpty() && isBlank(t.back()))
                    t.chop(1);
                used = last.x + m_fonts[static_cast<size_t>(last.font)]->width(t);
            }
        }
        const qreal slack = available - used;
        if (slack > 0) {
            if (pp.align == Alignment::Center) {
                line.x += slack / 2;
            } else if (pp.align == Alignment::Right) {
                line.x += slack;
            } else if (pp.align == Alignment::Justify && !lastOfParagraph && !explicitBreak) {
                int gaps = 0;
                for (size_t i = 0; i + 1 < line.frags.size(); ++i)
                    if (line.frags[i].trailingBlank)
                        ++gaps;
                if (gaps > 0) {
                    const qreal extra = slack / gaps;
                    qreal shift = 0;
                    for (size_t i = 0; i < line.frags.size(); ++i) {
                        line.frags[i].x += shift;
                        if (line.frags[i].trailingBlank && i + 1 < line.frags.size())
                            shift += extra;
                    }
                }
            }
        }
        // Neighbouring text of one font and colour is drawn in one go.
        std::vector<Frag> merged;
        merged.reserve(line.frags.size());
        for (Frag& f : line.frags) {
            if (f.kind == AtomKind::Tab)
                continue;
            if (!merged.empty() && f.kind == AtomKind::Text && merged.back().kind == AtomKind::Text &&
                merged.back().font == f.font && merged.back().color == f.color &&
                merged.back().rise == f.rise &&
                std::abs(merged.back().x + merged.back().width - f.x) < 0.01) {
                merged.back().text += f.text;
                merged.back().width += f.width;
                continue;
            }
            merged.push_back(std::move(f));
        }
        if (!merged.empty() && merged.back().kind == AtomKind::Text) {
            QString& t = merged.back().text;
            while (!t.isEmpty() && isBlank(t.back()))
                t.chop(1);
        }
        line.frags = std::move(merged);
    }

    std::vector<Line> breakLines(std::vector<Atom> atoms, qreal width, const ParaProps& pp, int markFont,
                                 bool inCell) {
        std::vector<Line> lines;
        const qreal left = pp.indentLeft;
        qreal available = width - pp.indentLeft - pp.indentRight - pp.firstLine;
        Line cur;
        cur.x = left + pp.firstLine;
        qreal x = 0;
        bool hasContent = false;

        auto finish = [&](bool last, bool explicitBreak) {
            finishLine(cur, available, pp, markFont, last, explicitBreak);
            lines.push_back(std::move(cur));
            cur = Line{};
            cur.x = left;
            available = width - pp.indentLeft - pp.indentRight;
            x = 0;
            hasContent = false;
        };
        auto place = [&](const Atom& a) {
            Frag f;
            f.kind = a.kind;
            f.x = x;
            f.width = a.width;
            f.height = a.height;
            f.rise = a.rise;
            f.text = a.text;
            f.font = a.font;
            f.color = a.color;
            f.image = a.image;
            f.checked = a.checked;
            f.trailingBlank = a.kind == AtomKind::Text && a.trimmed < a.width;
            x += a.width;
            cur.frags.push_back(std::move(f));
            hasContent = true;
        };

        const size_t n = atoms.size();
        size_t i = 0;
        while (i < n) {
            Atom& a = atoms[i];
            if (a.kind == AtomKind::LineBreak || (a.kind == AtomKind::PageBreak && inCell)) {
                ++i;
                finish(false, true);
                if (i == n)
                    finish(true, false); // the empty line after a final line break
                continue;
            }
            if (a.kind == AtomKind::PageBreak) {
                ++i;
                cur.pageBreakAfter = true;
                cur.onlyBreak = !hasContent;
                finish(i == n, true);
                if (lines.back().onlyBreak)
                    lines.back().height = 0;
                continue;
            }
            if (a.kind == AtomKind::Tab) {
                const qreal pos = cur.x + x;
                const qreal stop = nextTabStop(pos, pp);
                const qreal w = stop - pos;
                if (hasContent && x + w > available + 0.5) {
                    finish(false, false);
                    continue;
                }
                a.width = a.trimmed = w;
                place(a);
                ++i;
                continue;
            }
            // The unbreakable group starting here.
            size_t e = i;
            qreal groupWidth = 0;
            while (e < n && (atoms[e].kind == AtomKind::Text || atoms[e].kind == AtomKind::Image ||
                             atoms[e].kind == AtomKind::CheckBox)) {
                groupWidth += atoms[e].width;
                ++e;
                if (atoms[e - 1].breakAfter)
                    break;
            }
            const Atom& lastOfGroup = atoms[e - 1];
            const qreal groupTrimmed = groupWidth - lastOfGroup.width + lastOfGroup.trimmed;
            if (x + groupTrimmed <= available + 0.5) {
                for (size_t k = i; k < e; ++k)
                    place(atoms[k]);
                i = e;
                continue;
            }
            if (hasContent) {
                finish(false, false);
                continue;
            }
            // A word longer than the line: break it between characters.
            bool broke = false;
            for (size_t k = i; k < e; ++k) {
                Atom& b = atoms[k];
                if (x + b.trimmed <= available + 0.5 || (b.kind != AtomKind::Text && !hasContent)) {
                    place(b);
                    continue;
                }
                if (b.kind != AtomKind::Text) {
                    i = k;
                    broke = true;
                    break;
                }
                FontEntry& fe = *m_fonts[static_cast<size_t>(b.font)];
                int fit = 0;
                for (int len = 1; len < b.text.size(); ++len) {
                    if (x + fe.fm.horizontalAdvance(b.text.left(len)) > available + 0.5)
                        break;
                    fit = len;
                }
                if (fit == 0 && !hasContent)
                    fit = 1;
                if (fit > 0) {
                    Atom head = b;
                    head.text = b.text.left(fit);
                    head.width = head.trimmed = fe.width(head.text);
                    head.breakAfter = true;
                    place(head);
                    b.text = b.text.mid(fit);
                    b.width = fe.width(b.text);
                    QString t = b.text;
                    while (!t.isEmpty() && isBlank(t.back()))
                        t.chop(1);
                    b.trimmed = fe.width(t);
                }
                i = k;
                broke = true;
                break;
            }
            if (!broke)
                i = e;
            finish(false, false);
        }
        if (hasContent || lines.empty())
            finish(true, false);
        return lines;
    }

    ParaBox layoutParagraph(const pugi::xml_node& p, qreal width, FieldStack& fs, bool inCell) {
        const pugi::xml_node pPr = p.child("w:pPr");
        const ResolvedStyle& style =
            m_styles.paragraphStyle(pPr.child("w:pStyle").attribute("w:val").value());
        ParaProps pp = style.para;
        StyleSheet::applyPPr(pPr, pp);
        CharProps mark = style.chars;
        StyleSheet::applyRPr(pPr.child("w:rPr"), mark);
        std::vector<Atom> atoms;
        collect(p, style.chars, fs, atoms);
        ParaBox box;
        box.hasContent = !atoms.empty();
        if (mark.hidden && atoms.empty())
            return box; // a hidden paragraph (a template's marker line) takes no room at all
        box.lines = breakLines(std::move(atoms), width, pp, fontFor(mark), inCell);
        box.spaceBefore = pp.spaceBefore;
        box.spaceAfter = pp.spaceAfter;
        box.pageBreakBefore = pp.pageBreakBefore && !inCell;
        box.keepNext = pp.keepNext && !inCell;
        if (!inCell) {
            const pugi::xml_node sect = pPr.child("w:sectPr");
            if (sect && std::strcmp(sect.child("w:type").attribute("w:val").value(), "continuous") != 0 &&
                !box.lines.empty())
                box.lines.back().pageBreakAfter = true;
        }
        return box;
    }

    void emitLine(const Line& line, qreal x0, qreal y, PageContent& out) {
        const qreal base = y + line.baseline;
        for (const Frag& f : line.frags) {
            const qreal x = x0 + line.x + f.x;
            switch (f.kind) {
            case AtomKind::Text:
                if (!f.text.isEmpty())
                    out.texts.push_back(PageText{QPointF(x, base - f.rise), f.text, f.font, f.color});
                break;
            case AtomKind::Image:
                if (f.image >= 0)
                    out.images.push_back(PageImage{QRectF(x, base - f.height, f.width, f.height), f.image});
                break;
            case AtomKind::CheckBox:
                out.boxes.push_back(PageCheckBox{QRectF(x, base - f.height, f.height, f.height), f.checked});
                break;
            default:
                break;
            }
        }
    }

    void placeParagraph(const ParaBox& box, qreal x0, Flow& flow, bool lastOfBody) {
        if (flow.paginated()) {
            if (lastOfBody && !box.hasContent && !box.lines.empty() &&
                (flow.breakPending || flow.y + box.spaceBefore + box.lines.front().height > flow.bottom) &&
                flow.pageHasContent)
                return; // a trailing empty paragraph does not open a page of its own
            if (box.pageBreakBefore && flow.pageHasContent)
                flow.breakPending = true;
            flow.applyPendingBreak();
        }
        if (m_clip.active && m_clip.clipped)
            return;
        flow.y += box.spaceBefore;
        for (const Line& line : box.lines) {
            if (m_clip.active && !flow.paginated() && flow.y + line.height > m_clip.height + 0.5) {
                m_clip.clipped = true;
                return;
            }
            if (line.onlyBreak) {
                if (flow.paginated())
                    flow.breakPending = true;
                continue;
            }
            if (flow.paginated()) {
                flow.applyPendingBreak();
                if (flow.y + line.height > flow.bottom + 0.5 && flow.pageHasContent)
                    flow.newPage();
            }
            const size_t textsBefore = flow.out().texts.size();
            emitLine(line, x0, flow.y, flow.out());
            if (m_clip.active && flow.out().texts.size() > textsBefore)
                m_clip.lastLineText = flow.out().texts.size() - 1;
            flow.y += line.height;
            flow.pageHasContent = true;
            if (line.pageBreakAfter && flow.paginated())
                flow.breakPending = true;
        }
        flow.y += box.spaceAfter;
    }

    // ---- tables ---------------------------------------------------------------------------

    // A cell's content. In a row of exact height the content never runs out of its cell: a
    // cell marked to fit its text first sets its larger type smaller, down to
    // kSmallestFittedHalfPoints; what still does not fit is cut after the last whole line
    // that does, which ends in "…".
    void layoutCell(const pugi::xml_node& tc, CellModel& cell, qreal exactHeight, bool fitText) {
        const qreal width = std::max<qreal>(cell.width - cell.mar.left - cell.mar.right, 20);
        auto lay = [&]() {
            cell.content = PageContent();
            Flow box;
            box.box = &cell.content;
            FieldStack fs;
            placeBlocks(tc, 0, width, box, fs, false);
            cell.contentHeight = box.y;
        };
        lay();
        const qreal room = exactHeight - cell.mar.top - cell.mar.bottom;
        if (exactHeight <= 0 || cell.contentHeight <= room + 0.5)
            return;
        if (fitText) {
            for (int cap = largestHalfPoints(tc) - 1;
                 cap >= kSmallestFittedHalfPoints && cell.contentHeight > room + 0.5; --cap) {
                m_sizeCap = cap;
                lay();
            }
        }
        if (cell.contentHeight > room + 0.5) {
            m_clip = Clip{.active = true, .height = room};
            lay();
            if (m_clip.clipped && m_clip.lastLineText != SIZE_MAX)
                endWithEllipsis(cell.content.texts[m_clip.lastLineText], width);
            cell.contentHeight = std::min(cell.contentHeight, std::max<qreal>(room, 0));
            m_clip = Clip();
        }
        m_sizeCap = 0;
    }

    int largestHalfPoints(const pugi::xml_node& tc) const {
        int largest = 0;
        for (const pugi::xpath_node& sz : tc.select_nodes(".//w:rPr/w:sz"))
            largest = std::max(largest, intVal(sz.node(), "w:val", 0));
        return largest > 0 ? largest : 24;
    }

    // Shortens a cut line's last text until the ellipsis fits within the line.
    void endWithEllipsis(PageText& text, qreal width) {
        FontEntry& f = *m_fonts[static_cast<size_t>(text.font)];
        const QString ellipsis(QChar(0x2026));
        QString shown = text.text;
        while (!shown.isEmpty() && text.pos.x() + f.width(shown + ellipsis) > width)
            shown.chop(1);
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        text.text = shown + ellipsis;
    }

    TableModel buildTable(const pugi::xml_node& tbl, qreal x0, qreal width, qreal& tableX) {
        TableModel tm;
        const pugi::xml_node tblPr = tbl.child("w:tblPr");
        const QVector<pugi::xml_node> chain =
            m_styles.tableStyleChain(tblPr.child("w:tblStyle").attribute("w:val").value());
        Margins cellMar;
        qreal indent = 0;
        Alignment jc = Alignment::Left;
        for (const pugi::xml_node& s : chain) {
            applyBorders(s.child("w:tblBorders"), tm.borders);
            applyMargins(s.child("w:tblCellMar"), cellMar);
            indent = intVal(s.child("w:tblInd"), "w:w", static_cast<int>(indent));
            if (pugi::xml_node j = s.child("w:jc"))
                jc = alignmentFrom(val(j), jc);
        }
        applyBorders(tblPr.child("w:tblBorders"), tm.borders);
        applyMargins(tblPr.child("w:tblCellMar"), cellMar);
        indent = intVal(tblPr.child("w:tblInd"), "w:w", static_cast<int>(indent));
        if (pugi::xml_node j = tblPr.child("w:jc"))
            jc = alignmentFrom(val(j), jc);

        std::vector<qreal> grid;
        for (pugi::xml_node g = tbl.child("w:tblGrid").child("w:gridCol"); g; g = g.next_sibling("w:gridCol"))
            grid.push_back(std::max(0, intVal(g, "w:w", 0)));
        auto rowsOf = [&]() {
            std::vector<pugi::xml_node> rows;
            for (pugi::xml_node r = tbl.first_child(); r; r = r.next_sibling()) {
                if (is(r, "w:tr"))
                    rows.push_back(r);
                else if (is(r, "w:sdt"))
                    for (pugi::xml_node rr = r.child("w:sdtContent").child("w:tr"); rr;
                         rr = rr.next_sibling("w:tr"))
                        rows.push_back(rr);
            }
            return rows;
        };
        const std::vector<pugi::xml_node> rows = rowsOf();
        if (grid.empty() && !rows.empty())
            for (pugi::xml_node c = rows.front().child("w:tc"); c; c = c.next_sibling("w:tc")) {
                const int span = std::max(1, intVal(c.child("w:tcPr").child("w:gridSpan"), "w:val", 1));
                const qreal w = intVal(c.child("w:tcPr").child("w:tcW"), "w:w", 0);
                for (int i = 0; i < span; ++i)
                    grid.push_back(w > 0 ? w / span : width / 4);
            }
        qreal total = 0;
        for (qreal w : grid)
            total += w;
        tableX = x0 + indent;
        if (jc == Alignment::Center)
            tableX = x0 + (width - total) / 2;
        else if (jc == Alignment::Right)
            tableX = x0 + width - total;
        std::vector<qreal> gridX(grid.size() + 1, tableX);
        for (size_t i = 0; i < grid.size(); ++i)
            gridX[i + 1] = gridX[i] + grid[i];
        auto colX = [&](int g) {
            return gridX[static_cast<size_t>(std::clamp<int>(g, 0, int(grid.size())))];
        };

        // Grid column -> (row, cell) of the cell that a vertical merge continues.
        std::map<int, std::pair<size_t, size_t>> openMerges;
        for (const pugi::xml_node& tr : rows) {
            RowModel row;
            const pugi::xml_node trPr = tr.child("w:trPr");
            const pugi::xml_node setHeight = trPr.child("w:trHeight");
            const qreal exactHeight = !std::strcmp(setHeight.attribute("w:hRule").value(), "exact")
                                          ? intVal(setHeight, "w:val", 0)
                                          : 0;
            row.header = onOff(trPr.child("w:tblHeader"), false);
            int g = intVal(trPr.child("w:gridBefore"), "w:val", 0);
            std::vector<pugi::xml_node> cells;
            for (pugi::xml_node c = tr.first_child(); c; c = c.next_sibling()) {
                if (is(c, "w:tc"))
                    cells.push_back(c);
                else if (is(c, "w:sdt"))
                    for (pugi::xml_node cc = c.child("w:sdtContent").child("w:tc"); cc;
                         cc = cc.next_sibling("w:tc"))
                        cells.push_back(cc);
            }
            qreal contentMax = 0;
            std::map<int, std::pair<size_t, size_t>> stillOpen;
            for (const pugi::xml_node& tc : cells) {
                CellModel cell;
                const pugi::xml_node tcPr = tc.child("w:tcPr");
                const int span = std::max(1, intVal(tcPr.child("w:gridSpan"), "w:val", 1));
                cell.x = colX(g);
                cell.width = colX(g + span) - cell.x;
                if (cell.width <= 0)
                    cell.width = intVal(tcPr.child("w:tcW"), "w:w", 720);
                cell.mar = cellMar;
                applyMargins(tcPr.child("w:tcMar"), cell.mar);
                if (const pugi::xml_node vm = tcPr.child("w:vMerge")) {
                    cell.vMerge = !std::strcmp(val(vm), "restart") ? 1 : 2;
                }
                if (pugi::xml_node shd = tcPr.child("w:shd")) {
                    const char* fill = shd.attribute("w:fill").value();
                    if (*fill && std::strcmp(fill, "auto") != 0) {
                        const QColor qc(QLatin1Char('#') + qs(fill));
                        if (qc.isValid())
                            cell.fill = qc.rgba();
                    }
                }
                const char* va = val(tcPr.child("w:vAlign"));
                cell.vAlign = !std::strcmp(va, "center") ? 1 : !std::strcmp(va, "bottom") ? 2 : 0;
                if (pugi::xml_node tb = tcPr.child("w:tcBorders")) {
                    auto edge = [&](const char* a, const char* alt, bool& has, Border& b) {
                        pugi::xml_node e = tb.child(a);
                        if (!e && alt)
                            e = tb.child(alt);
                        if (e) {
                            has = true;
                            b = parseBorder(e);
                        }
                    };
                    edge("w:top", nullptr, cell.hasTop, cell.top);
                    edge("w:left", "w:start", cell.hasLeft, cell.left);
                    edge("w:bottom", nullptr, cell.hasBottom, cell.bottom);
                    edge("w:right", "w:end", cell.hasRight, cell.right);
                }
                if (cell.vMerge != 2) {
                    layoutCell(tc, cell, exactHeight, !tcPr.child("w:tcFitText").empty());
                    if (cell.vMerge == 0)
                        contentMax =
                            std::max(contentMax, cell.contentHeight + cell.mar.top + cell.mar.bottom);
                }
                if (cell.vMerge == 2) {
                    auto it = openMerges.find(g);
                    if (it != openMerges.end()) {
                        tm.rows[it->second.first].cells[it->second.second].mergedBelow = true;
                        stillOpen[g] = {tm.rows.size(), row.cells.size()};
                    }
                } else if (cell.vMerge == 1) {
                    stillOpen[g] = {tm.rows.size(), row.cells.size()};
                }
                row.cells.push_back(std::move(cell));
                g += span;
            }
            openMerges = std::move(stillOpen);
            const pugi::xml_node h = trPr.child("w:trHeight");
            const qreal hv = intVal(h, "w:val", 0);
            const char* rule = h.attribute("w:hRule").value();
            if (h && !std::strcmp(rule, "exact") && hv > 0)
                row.height = hv;
            else if (h && std::strcmp(rule, "auto") != 0)
                row.height = std::max(hv, contentMax);
            else
                row.height = contentMax;
            if (row.height <= 0)
                row.height = 240;
            tm.rows.push_back(std::move(row));
        }
        // A merged cell taller than the rows it spans stretches the last of them.
        for (size_t r = 0; r < tm.rows.size(); ++r)
            for (const CellModel& c : tm.rows[r].cells) {
                if (c.vMerge != 1)
                    continue;
                qreal spanned = tm.rows[r].height;
                size_t last = r;
                for (size_t k = r + 1; k < tm.rows.size(); ++k) {
                    bool continues = false;
                    for (const CellModel& below : tm.rows[k].cells)
                        if (below.vMerge == 2 && std::abs(below.x - c.x) < 1)
                            continues = true;
                    if (!continues)
                        break;
                    spanned += tm.rows[k].height;
                    last = k;
                }
                const qreal need = c.contentHeight + c.mar.top + c.mar.bottom;
                if (need > spanned)
                    tm.rows[last].height += need - spanned;
            }
        return tm;
    }

    Border cellTop(const TableModel& tm, size_t r, const CellModel& c) const {
        if (c.vMerge == 2)
            return {};
        if (c.hasTop)
            return c.top;
        return r == 0 ? tm.borders.top : tm.borders.insideH;
    }
    Border cellBottom(const TableModel& tm, size_t r, const CellModel& c) const {
        if (c.mergedBelow)
            return {};
        if (c.hasBottom)
            return c.bottom;
        return r + 1 == tm.rows.size() ? tm.borders.bottom : tm.borders.insideH;
    }

    void drawRow(const TableModel& tm, size_t r, qreal y, PageContent& out, LineMerger& verticals) {
        const RowModel& row = tm.rows[r];
        std::vector<std::tuple<qreal, qreal, Border>> tops;
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const CellModel& c = row.cells[i];
            if (c.fill)
                out.fills.push_back(PageFill{QRectF(c.x, y, c.width, row.height), c.fill});
            if (c.vMerge != 2) {
                qreal offset = c.mar.top;
                const qreal free = row.height - c.mar.top - c.mar.bottom - c.contentHeight;
                if (free > 0 && c.vAlign == 1)
                    offset += free / 2;
                else if (free > 0 && c.vAlign == 2)
                    offset += free;
                out.append(c.content, QPointF(c.x + c.mar.left, y + offset));
            }
            tops.emplace_back(c.x, c.x + c.width, cellTop(tm, r, c));
            Border left;
            if (c.hasLeft)
                left = c.left;
            else if (i > 0 && row.cells[i - 1].hasRight)
                left = row.cells[i - 1].right;
            else
                left = i == 0 ? tm.borders.left : tm.borders.insideV;
            if (left.on)
                verticals.vertical(c.x, y, y + row.height, left, out);
            if (i + 1 == row.cells.size()) {
                const Border right = c.hasRight ? c.right : tm.borders.right;
                if (right.on)
                    verticals.vertical(c.x + c.width, y, y + row.height, right, out);
            }
        }
        horizontalSegments(tops, y, out);
    }

    void drawBottom(const TableModel& tm, size_t r, qreal y, PageContent& out) {
        std::vector<std::tuple<qreal, qreal, Border>> bottoms;
        for (const CellModel& c : tm.rows[r].cells)
            bottoms.emplace_back(c.x, c.x + c.width, cellBottom(tm, r, c));
        horizontalSegments(bottoms, y, out);
    }

    void placeTable(const pugi::xml_node& tbl, qreal x0, qreal width, Flow& flow) {
        qreal tableX = x0;
        const TableModel tm = buildTable(tbl, x0, width, tableX);
        if (tm.rows.empty())
            return;
        flow.applyPendingBreak();
        size_t headers = 0;
        while (headers < tm.rows.size() && tm.rows[headers].header)
            ++headers;
        LineMerger verticals;
        size_t lastOnPage = SIZE_MAX;
        for (size_t r = 0; r < tm.rows.size(); ++r) {
            const qreal h = tm.rows[r].height;
            if (flow.paginated() && flow.y + h > flow.bottom + 0.5 && flow.pageHasContent) {
                if (lastOnPage != SIZE_MAX)
                    drawBottom(tm, lastOnPage, flow.y, flow.out());
                verticals.flush(flow.out());
                flow.newPage();
                if (r >= headers)
                    for (size_t hr = 0; hr < headers; ++hr) {
                        drawRow(tm, hr, flow.y, flow.out(), verticals);
                        flow.y += tm.rows[hr].height;
                    }
            }
            drawRow(tm, r, flow.y, flow.out(), verticals);
            flow.y += h;
            flow.pageHasContent = true;
            lastOnPage = r;
        }
        drawBottom(tm, tm.rows.size() - 1, flow.y, flow.out());
        verticals.flush(flow.out());
    }

    // ---- blocks ---------------------------------------------------------------------------

    void placeBlocks(const pugi::xml_node& container, qreal x0, qreal width, Flow& flow, FieldStack& fs,
                     bool isBody) {
        pugi::xml_node lastBlock;
        if (isBody)
            for (pugi::xml_node c = container.last_child(); c; c = c.previous_sibling())
                if (is(c, "w:p") || is(c, "w:tbl") || is(c, "w:sdt")) {
                    lastBlock = c;
                    break;
                }
        // A paragraph kept with the next one (a heading) is laid out with a look at that one.
        std::optional<ParaBox> ahead;
        pugi::xml_node aheadNode;
        const bool inCell = !flow.paginated() && !isBody;
        for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            if (is(c, "w:p")) {
                if (flow.paginated())
                    m_pageNumber = static_cast<int>(m_out.pages.size());
                ParaBox box = c == aheadNode ? std::move(*ahead) : layoutParagraph(c, width, fs, inCell);
                ahead.reset();
                aheadNode = pugi::xml_node();
                if (flow.paginated() && box.keepNext && flow.pageHasContent && !flow.breakPending) {
                    qreal need = box.spaceBefore + box.spaceAfter;
                    for (const Line& l : box.lines)
                        need += l.height;
                    pugi::xml_node next = c.next_sibling();
                    while (next && next.type() != pugi::node_element)
                        next = next.next_sibling();
                    if (is(next, "w:p")) {
                        ahead = layoutParagraph(next, width, fs, inCell);
                        aheadNode = next;
                        need += ahead->spaceBefore + (ahead->lines.empty() ? 0 : ahead->lines.front().height);
                    } else if (is(next, "w:tbl")) {
                        need += 400;
                    }
                    if (flow.y + need > flow.bottom && need <= flow.bottom - flow.top)
                        flow.breakPending = true;
                }
                placeParagraph(box, x0, flow, c == lastBlock);
            } else if (is(c, "w:tbl")) {
                placeTable(c, x0, width, flow);
            } else if (is(c, "w:sdt")) {
                placeBlocks(c.child("w:sdtContent"), x0, width, flow, fs, false);
            } else if (is(c, "w:customXml")) {
                placeBlocks(c, x0, width, flow, fs, false);
            }
        }
    }

    pugi::xml_node headerFooterRoot(bool footer, int pageIndex) {
        const pugi::xml_node sect = m_d.finalSectPr();
        const bool titlePage = onOff(sect.child("w:titlePg"), false);
        const char* refName = footer ? "w:footerReference" : "w:headerReference";
        pugi::xml_node chosen, fallback;
        for (pugi::xml_node ref = sect.child(refName); ref; ref = ref.next_sibling(refName)) {
            const char* type = ref.attribute("w:type").value();
            if (titlePage && pageIndex == 0 && !std::strcmp(type, "first"))
                chosen = ref;
            else if (!*type || !std::strcmp(type, "default"))
                fallback = ref;
        }
        if (titlePage && pageIndex == 0 && !chosen)
            return {};
        if (!chosen)
            chosen = fallback;
        if (!chosen)
            return {};
        XmlPart* part = m_d.auxPart(m_d.main.relationshipTarget(qs(chosen.attribute("r:id").value())));
        if (!part)
            return {};
        m_part = part;
        return part->xml.document_element();
    }

    void placeHeadersAndFooters() {
        m_pageCount = static_cast<int>(m_out.pages.size());
        for (int i = 0; i < m_pageCount; ++i) {
            m_pageNumber = i + 1;
            for (const bool footer : {false, true}) {
                const pugi::xml_node root = headerFooterRoot(footer, i);
                if (!root)
                    continue;
                PageContent box;
                Flow flow;
                flow.box = &box;
                FieldStack fs;
                placeBlocks(root, 0, m_page.contentWidth(), flow, fs, false);
                const qreal y = footer ? m_page.height - m_page.footer - flow.y : m_page.header;
                m_out.pages[static_cast<size_t>(i)].append(box, QPointF(m_page.marginLeft, y));
            }
        }
        m_part = &m_d.main;
    }

    DocumentData& m_d;
    DocumentLayout::Private& m_out;
    StyleSheet m_styles;
    PageSetup m_page;
    XmlPart* m_part = nullptr;
    std::vector<std::unique_ptr<FontEntry>> m_fonts;
    QHash<QString, int> m_fontIndex;
    QHash<QString, int> m_imageIndex;
    int m_pageNumber = 1;
    int m_pageCount = 1;
    // While a cell is fitted: the largest type size in half-points (0: as written), and the
    // height below which lines are cut.
    static constexpr int kSmallestFittedHalfPoints = 14;
    int m_sizeCap = 0;
    struct Clip {
        bool active = false;
        qreal height = 0;
        bool clipped = false;
        size_t lastLineText = SIZE_MAX;
    };
    Clip m_clip;
};

BilevelImage analyse(const QImage& source) {
    BilevelImage b;
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    QRgb colors[2] = {0, 0};
    int count = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x];
            if (qAlpha(p) != 255)
                return b;
            if (count > 0 && p == colors[0])
                continue;
            if (count > 1 && p == colors[1])
                continue;
            if (count == 2)
                return b;
            colors[count++] = p;
        }
    }
    if (count == 0)
        return b;
    b.isBilevel = true;
    if (count == 1) {
        b.light = colors[0];
        b.dark = colors[0];
        b.darkRects.emplace_back(0, 0, img.width(), img.height());
        return b;
    }
    const bool firstDark = qGray(colors[0]) < qGray(colors[1]);
    b.dark = firstDark ? colors[0] : colors[1];
    b.light = firstDark ? colors[1] : colors[0];
    // Runs of dark pixels per row; rows repeating the row above extend its rectangles.
    struct Open {
        int x0, x1, y0;
    };
    std::vector<Open> open;
    std::vector<std::pair<int, int>> runs;
    auto closeAll = [&](int yEnd) {
        for (const Open& o : open)
            b.darkRects.emplace_back(o.x0, o.y0, o.x1 - o.x0, yEnd - o.y0);
        open.clear();
    };
    for (int y = 0; y < img.height(); ++y) {
        runs.clear();
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width();) {
            if (line[x] != b.dark) {
                ++x;
                continue;
            }
            int e = x;
            while (e < img.width() && line[e] == b.dark)
                ++e;
            runs.emplace_back(x, e);
            x = e;
        }
        bool same = runs.size() == open.size();
        for (size_t i = 0; same && i < runs.size(); ++i)
            same = runs[i].first == open[i].x0 && runs[i].second == open[i].x1;
        if (same)
            continue;
        closeAll(y);
        for (const auto& [x0, x1] : runs)
            open.push_back(Open{x0, x1, y});
    }
    closeAll(img.height());
    return b;
}

} // namespace

DocumentLayout::DocumentLayout(Document& document) : d(std::make_unique<Private>()) {
    Layouter(*document.data(), *d).run();
}

DocumentLayout::~DocumentLayout() = default;

int DocumentLayout::pageCount() const {
    return static_cast<int>(d->pages.size());
}
QSizeF DocumentLayout::pageSize() const {
    return d->pageSize;
}
const PageContent& DocumentLayout::page(int index) const {
    return d->pages.at(static_cast<size_t>(index));
}
const QFont& DocumentLayout::font(int index) const {
    return d->fonts.at(static_cast<size_t>(index));
}
const QImage& DocumentLayout::image(int index) const {
    return d->images.at(static_cast<size_t>(index));
}

const BilevelImage& DocumentLayout::bilevel(int index) const {
    auto& slot = d->bilevels.at(static_cast<size_t>(index));
    if (!slot)
        slot = std::make_unique<BilevelImage>(analyse(d->images.at(static_cast<size_t>(index))));
    return *slot;
}

void DocumentLayout::replaceImage(int index, const QImage& image) {
    d->images.at(static_cast<size_t>(index)) = image;
    d->bilevels.at(static_cast<size_t>(index)).reset();
}

QString DocumentLayout::pageText(int index) const {
    std::vector<const PageText*> texts;
    for (const PageText& t : page(index).texts)
        texts.push_back(&t);
    std::stable_sort(texts.begin(), texts.end(), [](const PageText* a, const PageText* b) {
        if (std::abs(a->pos.y() - b->pos.y()) > 20)
            return a->pos.y() < b->pos.y();
        return a->pos.x() < b->pos.x();
    });
    QString out;
    qreal lastY = -1e9;
    for (const PageText* t : texts) {
        if (!out.isEmpty())
            out += std::abs(t->pos.y() - lastY) > 20 ? QChar('\n') : QChar(' ');
        out += t->text;
        lastY = t->pos.y();
    }
    return out;
}

} // namespace velmora::docengine
