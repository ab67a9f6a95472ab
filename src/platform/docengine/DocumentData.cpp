#include "platform/docengine/DocumentData.h"

#include "platform/data/XmlFile.h"
#include "platform/docengine/WordXml.h"
#include "platform/docengine/XmlIo.h"

#include <algorithm>
#include <cstring>

namespace velmora::docengine {

using namespace wx;

namespace {

constexpr const char* kNsRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";

} // namespace

// ---- XmlPart -------------------------------------------------------------------------------

QString XmlPart::addRelationship(const char* type, const QString& target) {
    pugi::xml_node root = rels.child("Relationships");
    if (!root) {
        root = rels.append_child("Relationships");
        root.append_attribute("xmlns") = kNsRelationships;
    }
    int maxId = 0;
    for (pugi::xml_node r = root.child("Relationship"); r; r = r.next_sibling("Relationship")) {
        const char* id = r.attribute("Id").value();
        if (std::strncmp(id, "rId", 3) == 0)
            maxId = std::max(maxId, std::atoi(id + 3));
    }
    QString id = QStringLiteral("rId%1").arg(maxId + 1);
    pugi::xml_node r = root.append_child("Relationship");
    r.append_attribute("Id") = utf8(id).c_str();
    r.append_attribute("Type") = type;
    r.append_attribute("Target") = utf8(target).c_str();
    modified = true;
    return id;
}

QString XmlPart::relationshipTarget(const QString& id) const {
    const std::string key = utf8(id);
    for (pugi::xml_node r = rels.child("Relationships").child("Relationship"); r;
         r = r.next_sibling("Relationship")) {
        if (key == r.attribute("Id").value()) {
            if (std::strcmp(r.attribute("TargetMode").value(), "External") == 0)
                return {};
            return DocxPackage::resolveTarget(name, qs(r.attribute("Target").value()));
        }
    }
    return {};
}

// ---- fields ---------------------------------------------------------------------------------

pugi::xml_node fldCharOf(const pugi::xml_node& run) {
    return run.child("w:fldChar");
}

bool locateField(pugi::xml_node beginRun, FieldSpan& span) {
    span = FieldSpan{};
    span.begin = beginRun;
    span.ffData = fldCharOf(beginRun).child("w:ffData");
    const pugi::xml_node root = beginRun.root();
    int depth = 1;
    pugi::xml_node n = nextInOrder(beginRun, root, true);
    while (n) {
        if (n.type() != pugi::node_element) {
            n = nextInOrder(n, root, true);
            continue;
        }
        if (is(n, "w:r")) {
            for (pugi::xml_node fc = n.child("w:fldChar"); fc; fc = fc.next_sibling("w:fldChar")) {
                const char* type = fc.attribute("w:fldCharType").value();
                if (!std::strcmp(type, "begin")) {
                    ++depth;
                } else if (!std::strcmp(type, "separate")) {
                    if (depth == 1)
                        span.separate = n;
                } else if (!std::strcmp(type, "end")) {
                    if (--depth == 0) {
                        span.end = n;
                        return true;
                    }
                }
            }
            n = nextInOrder(n, root, true);
            continue;
        }
        const bool props = is(n, "w:pPr") || is(n, "w:tblPr") || is(n, "w:trPr") || is(n, "w:tcPr") ||
                           is(n, "w:sectPr") || is(n, "w:tblGrid");
        n = nextInOrder(n, root, props);
    }
    return false;
}

QString runsText(pugi::xml_node from, pugi::xml_node to) {
    QString out;
    const pugi::xml_node root = from.root();
    pugi::xml_node lastPara = enclosingParagraph(from);
    for (pugi::xml_node n = nextInOrder(from, root, true); n && n != to;) {
        if (is(n, "w:r")) {
            const pugi::xml_node para = enclosingParagraph(n);
            if (para != lastPara) {
                if (!out.isEmpty() || lastPara)
                    out += QChar(u'\n');
                lastPara = para;
            }
            appendRunText(n, out);
            n = nextInOrder(n, root, true);
            continue;
        }
        const bool skip = is(n, "w:pPr") || is(n, "w:rPr") || is(n, "w:tblPr") || is(n, "w:tcPr");
        n = nextInOrder(n, root, skip);
    }
    return out;
}

// ---- DocumentData ----------------------------------------------------------------------------

pugi::xml_node DocumentData::finalSectPr() const {
    const pugi::xml_node b = body();
    for (pugi::xml_node n = b.last_child(); n; n = n.previous_sibling()) {
        if (n.type() != pugi::node_element)
            continue;
        return is(n, "w:sectPr") ? n : pugi::xml_node();
    }
    return {};
}

PageSetup DocumentData::pageSetup() const {
    PageSetup s;
    const pugi::xml_node sect = finalSectPr();
    if (!sect)
        return s;
    const pugi::xml_node sz = sect.child("w:pgSz");
    s.width = intVal(sz, "w:w", s.width);
    s.height = intVal(sz, "w:h", s.height);
    const pugi::xml_node mar = sect.child("w:pgMar");
    s.marginTop = std::abs(intVal(mar, "w:top", s.marginTop));
    s.marginBottom = std::abs(intVal(mar, "w:bottom", s.marginBottom));
    s.marginLeft = intVal(mar, "w:left", intVal(mar, "w:start", s.marginLeft));
    s.marginRight = intVal(mar, "w:right", intVal(mar, "w:end", s.marginRight));
    s.header = intVal(mar, "w:header", s.header);
    s.footer = intVal(mar, "w:footer", s.footer);
    if (s.width < 1440 || s.width > 31680 || s.height < 1440 || s.height > 31680)
        s = PageSetup{};
    return s;
}

void DocumentData::ensureIndex() {
    if (!indexDirty)
        return;
    fieldsByName.clear();
    fieldsByLowerName.clear();
    bookmarksByName.clear();
    bookmarksByLowerName.clear();
    bookmarkEnds.clear();
    bookmarkEndByStart.clear();
    fieldAroundBookmark.clear();
    std::unordered_map<std::string, std::vector<pugi::xml_node>> openStarts; // by w:id
    std::vector<pugi::xml_node> starts;
    int maxBookmark = 0;
    int maxDrawing = 0;
    const pugi::xml_node root = main.xml.document_element();
    for (pugi::xml_node n = root; n;) {
        if (n.type() != pugi::node_element) {
            n = nextInOrder(n, root, true);
            continue;
        }
        const char* name = n.name();
        if (!std::strcmp(name, "w:bookmarkStart")) {
            const QString bm = qs(n.attribute("w:name").value());
            if (!bm.isEmpty() && !bookmarksByName.contains(bm)) {
                bookmarksByName.insert(bm, n);
                const QString lower = bm.toLower();
                if (!bookmarksByLowerName.contains(lower))
                    bookmarksByLowerName.insert(lower, n);
            }
            maxBookmark = std::max(maxBookmark, n.attribute("w:id").as_int());
            openStarts[n.attribute("w:id").value()].push_back(n);
            starts.push_back(n);
        } else if (!std::strcmp(name, "w:bookmarkEnd")) {
            bookmarkEnds.emplace(n.attribute("w:id").value(), n);
            if (auto open = openStarts.find(n.attribute("w:id").value()); open != openStarts.end()) {
                for (const pugi::xml_node& start : open->second)
                    bookmarkEndByStart[start.internal_object()] = n;
                openStarts.erase(open);
            }
        } else if (!std::strcmp(name, "w:fldChar")) {
            if (!std::strcmp(n.attribute("w:fldCharType").value(), "begin")) {
                const QString field = qs(n.child("w:ffData").child("w:name").attribute("w:val").value());
                if (!field.isEmpty() && !fieldsByName.contains(field)) {
                    fieldsByName.insert(field, n.parent());
                    const QString lower = field.toLower();
                    if (!fieldsByLowerName.contains(lower))
                        fieldsByLowerName.insert(lower, n.parent());
                }
            }
        } else if (!std::strcmp(name, "wp:docPr")) {
            maxDrawing = std::max(maxDrawing, n.attribute("id").as_int());
        }
        const bool leaf = !std::strcmp(name, "w:t") || !std::strcmp(name, "w:rPr") ||
                          !std::strcmp(name, "w:pPr") || !std::strcmp(name, "w:instrText");
        n = nextInOrder(n, root, leaf);
    }
    for (const auto& [id, unclosed] : openStarts)
        for (const pugi::xml_node& start : unclosed)
            bookmarkEndByStart[start.internal_object()] = pugi::xml_node();
    indexFieldsAroundBookmarks(starts);
    nextBookmarkId = maxBookmark + 1;
    nextDrawingId = std::max(nextDrawingId, maxDrawing + 1);
    indexDirty = false;
}

namespace {

// The field a run opens or closes, as the look-ups around bookmarks read it: the type of its
// first fldChar.
enum class FieldMark { None, Begin, End };

FieldMark fieldMarkOf(const pugi::xml_node& n) {
    if (!is(n, "w:r"))
        return FieldMark::None;
    const char* type = fldCharOf(n).attribute("w:fldCharType").value();
    if (!std::strcmp(type, "begin"))
        return FieldMark::Begin;
    if (!std::strcmp(type, "end"))
        return FieldMark::End;
    return FieldMark::None;
}

// The walk the index replaces, kept for bookmarks added after the index was built.
pugi::xml_node walkBackToFieldBegin(const pugi::xml_node& start) {
    int depth = 0;
    for (pugi::xml_node n = start.previous_sibling(); n; n = n.previous_sibling()) {
        const FieldMark mark = fieldMarkOf(n);
        if (mark == FieldMark::End)
            ++depth;
        else if (mark == FieldMark::Begin && depth-- == 0)
            return n;
    }
    return {};
}

void collectTables(pugi::xml_node container, DocumentData& d, std::vector<TableState*>& out) {
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (is(c, "w:tbl"))
            out.push_back(d.stateFor(c, &d.main));
        else if (is(c, "w:sdt"))
            collectTables(c.child("w:sdtContent"), d, out);
        else if (is(c, "w:customXml"))
            collectTables(c, d, out);
    }
}

} // namespace

void DocumentData::ensureTables() {
    if (!tablesDirty)
        return;
    topTables.clear();
    collectTables(body(), *this, topTables);
    tablesDirty = false;
}

TableState* DocumentData::stateFor(pugi::xml_node table, XmlPart* part) {
    auto it = stateByNode.find(table.internal_object());
    if (it != stateByNode.end() && it->second->node == table)
        return it->second;
    TableState& s = tableStates.emplace_back();
    s.node = table;
    s.part = part;
    for (pugi::xml_node r = table.child("w:tr"); r; r = r.next_sibling("w:tr"))
        s.rows.push_back(r);
    stateByNode[table.internal_object()] = &s;
    return &s;
}

void DocumentData::beforeRemoving(pugi::xml_node n) {
    ++generation;
    if (n.type() != pugi::node_element)
        return;
    for (pugi::xml_node c = n; c; c = nextInOrder(c, n, false)) {
        if (c.type() != pugi::node_element)
            continue;
        const char* name = c.name();
        if (!std::strcmp(name, "w:tbl")) {
            auto it = stateByNode.find(c.internal_object());
            if (it != stateByNode.end()) {
                it->second->node = pugi::xml_node();
                it->second->rows.clear();
                stateByNode.erase(it);
            }
            tablesDirty = true;
        } else if (!std::strcmp(name, "w:tr")) {
            // Rows only leave through their table or a cell merge; a stray removal still must
            // not leave the row list pointing at freed nodes.
            auto it = stateByNode.find(c.parent().internal_object());
            if (it != stateByNode.end()) {
                auto& rows = it->second->rows;
                rows.erase(std::remove(rows.begin(), rows.end(), c), rows.end());
            }
        } else if (!std::strcmp(name, "w:bookmarkStart") || !std::strcmp(name, "w:bookmarkEnd") ||
                   !std::strcmp(name, "w:fldChar")) {
            indexDirty = true;
        }
    }
}

void DocumentData::removeNode(pugi::xml_node n) {
    if (!n || !n.parent())
        return;
    beforeRemoving(n);
    n.parent().remove_child(n);
}

pugi::xml_node DocumentData::findBookmark(const QString& name) {
    ensureIndex();
    if (auto it = bookmarksByName.constFind(name); it != bookmarksByName.cend())
        return *it;
    if (auto it = bookmarksByLowerName.constFind(name.toLower()); it != bookmarksByLowerName.cend())
        return *it;
    return {};
}

pugi::xml_node DocumentData::bookmarkEndOf(pugi::xml_node start) {
    ensureIndex();
    if (auto own = bookmarkEndByStart.find(start.internal_object()); own != bookmarkEndByStart.end())
        return own->second;
    // A bookmark added since the index was built has an id of its own.
    auto it = bookmarkEnds.find(start.attribute("w:id").value());
    return it == bookmarkEnds.end() ? pugi::xml_node() : it->second;
}

void DocumentData::setBookmarkEnd(pugi::xml_node start, pugi::xml_node end) {
    bookmarkEnds[start.attribute("w:id").value()] = end;
    bookmarkEndByStart[start.internal_object()] = end;
}

void DocumentData::indexFieldsAroundBookmarks(const std::vector<pugi::xml_node>& starts) {
    // One pass over the children of every paragraph (or other parent) holding a bookmark: a
    // field still open when the pass reaches a bookmark is the one it lies in. Matching begins
    // to ends from the left leaves open exactly the begins a walk back would stop at.
    std::unordered_map<pugi::xml_node_struct*, bool> parentsDone;
    std::vector<pugi::xml_node> open;
    for (const pugi::xml_node& start : starts) {
        const pugi::xml_node parent = start.parent();
        if (!parentsDone.emplace(parent.internal_object(), true).second)
            continue;
        open.clear();
        for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
            const FieldMark mark = fieldMarkOf(n);
            if (mark == FieldMark::Begin)
                open.push_back(n);
            else if (mark == FieldMark::End && !open.empty())
                open.pop_back();
            else if (is(n, "w:bookmarkStart"))
                fieldAroundBookmark[n.internal_object()] = open.empty() ? pugi::xml_node() : open.back();
        }
    }
}

pugi::xml_node DocumentData::fieldBeginAround(pugi::xml_node start) {
    ensureIndex();
    auto it = fieldAroundBookmark.find(start.internal_object());
    if (it == fieldAroundBookmark.end())
        return walkBackToFieldBegin(start);
    // Splitting a paragraph moves a bookmark away from the field it was in; what stays behind
    // it then holds no open field (whether a begin is closed depends only on what follows it).
    if (it->second && it->second.parent() != start.parent())
        return {};
    return it->second;
}

pugi::xml_node DocumentData::findFieldBegin(const QString& name) {
    ensureIndex();
    if (auto it = fieldsByName.constFind(name); it != fieldsByName.cend())
        return *it;
    if (auto it = fieldsByLowerName.constFind(name.toLower()); it != fieldsByLowerName.cend())
        return *it;
    return {};
}

XmlPart* DocumentData::auxPart(const QString& partName) {
    const std::string key = utf8(partName);
    if (auto it = otherParts.find(key); it != otherParts.end())
        return it->second.get();
    if (!package.has(partName))
        return nullptr;
    auto part = std::make_unique<XmlPart>();
    part->name = partName;
    // A part nested deeper than any real one is treated as unreadable, like bad XML, so
    // that nothing recursive ever walks it.
    if (!parseXml(package.part(partName), part->xml, kPackagePartOptions) ||
        !excessiveNesting(part->xml).isEmpty())
        return nullptr;
    // Relationships that do not read make the part unreadable too: its pictures would vanish.
    const QString rels = DocxPackage::relsPartOf(partName);
    if (package.has(rels) && !parseXml(package.part(rels), part->rels, kPackagePartOptions))
        return nullptr;
    XmlPart* raw = part.get();
    otherParts.emplace(key, std::move(part));
    return raw;
}

XmlPart* DocumentData::partByRelType(const char* type) {
    for (pugi::xml_node r = main.rels.child("Relationships").child("Relationship"); r;
         r = r.next_sibling("Relationship")) {
        if (!std::strcmp(r.attribute("Type").value(), type))
            return auxPart(DocxPackage::resolveTarget(main.name, qs(r.attribute("Target").value())));
    }
    return nullptr;
}

XmlPart* DocumentData::createAuxPart(const QString& partName, const char* relType, const char* contentType,
                                     const QByteArray& initialXml) {
    package.setPart(partName, initialXml);
    setOverrideContentType(partName, contentType);
    const QString mainFolder = main.name.left(main.name.lastIndexOf(u'/') + 1);
    const QString target =
        partName.startsWith(mainFolder) ? partName.mid(mainFolder.size()) : u'/' + partName;
    main.addRelationship(relType, target);
    XmlPart* p = auxPart(partName);
    if (p)
        p->modified = true;
    return p;
}

QString DocumentData::addImage(XmlPart& part, const QByteArray& bytes, const QString& extension) {
    int n = 1;
    QString name;
    do {
        name = QStringLiteral("word/media/image%1.%2").arg(n++).arg(extension);
    } while (package.has(name));
    package.setPart(name, bytes);
    const QString ext = extension.toLower();
    const char* type = ext == QLatin1String("png")   ? "image/png"
                       : ext == QLatin1String("gif") ? "image/gif"
                       : ext == QLatin1String("bmp") ? "image/bmp"
                                                     : "image/jpeg";
    ensureDefaultContentType(ext, type);
    const QString folder = part.name.left(part.name.lastIndexOf(u'/') + 1);
    const QString target = name.startsWith(folder) ? name.mid(folder.size()) : u'/' + name;
    return part.addRelationship(kRelImage, target);
}

void DocumentData::ensureDefaultContentType(const QString& extension, const char* contentType) {
    pugi::xml_node types = contentTypes.child("Types");
    for (pugi::xml_node d = types.child("Default"); d; d = d.next_sibling("Default"))
        if (qs(d.attribute("Extension").value()).compare(extension, Qt::CaseInsensitive) == 0)
            return;
    pugi::xml_node d = types.prepend_child("Default");
    d.append_attribute("Extension") = utf8(extension).c_str();
    d.append_attribute("ContentType") = contentType;
}

void DocumentData::setOverrideContentType(const QString& partName, const char* contentType) {
    pugi::xml_node types = contentTypes.child("Types");
    const QString wanted = u'/' + partName;
    for (pugi::xml_node o = types.child("Override"); o; o = o.next_sibling("Override")) {
        if (qs(o.attribute("PartName").value()).compare(wanted, Qt::CaseInsensitive) == 0) {
            o.attribute("ContentType").set_value(contentType);
            return;
        }
    }
    pugi::xml_node o = types.append_child("Override");
    o.append_attribute("PartName") = utf8(wanted).c_str();
    o.append_attribute("ContentType") = contentType;
}

QString DocumentData::contentTypeOf(const QString& partName) const {
    const pugi::xml_node types = contentTypes.child("Types");
    const QString wanted = u'/' + partName;
    for (pugi::xml_node o = types.child("Override"); o; o = o.next_sibling("Override"))
        if (qs(o.attribute("PartName").value()).compare(wanted, Qt::CaseInsensitive) == 0)
            return qs(o.attribute("ContentType").value());
    const QString ext = partName.mid(partName.lastIndexOf(u'.') + 1);
    for (pugi::xml_node d = types.child("Default"); d; d = d.next_sibling("Default"))
        if (qs(d.attribute("Extension").value()).compare(ext, Qt::CaseInsensitive) == 0)
            return qs(d.attribute("ContentType").value());
    return {};
}

void DocumentData::flushParts() {
    package.setPart(main.name, serializeXml(main.xml));
    if (main.rels.document_element())
        package.setPart(DocxPackage::relsPartOf(main.name), serializeXml(main.rels));
    for (auto& [key, part] : otherParts) {
        package.setPart(part->name, serializeXml(part->xml));
        if (part->rels.document_element())
            package.setPart(DocxPackage::relsPartOf(part->name), serializeXml(part->rels));
    }
    package.setPart(QStringLiteral("[Content_Types].xml"), serializeXml(contentTypes));
}

} // namespace velmora::docengine
