#include "platform/docengine/Document.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"

#include <cstring>

namespace velmora::docengine {

using namespace wx;

namespace {

std::pair<XmlPart*, pugi::xml_node> headerFooterEnd(DocumentData& d, bool footer) {
    pugi::xml_node sect = d.finalSectPr();
    if (!sect)
        sect = d.body().append_child("w:sectPr");
    const char* refName = footer ? "w:footerReference" : "w:headerReference";
    XmlPart* part = nullptr;
    for (pugi::xml_node ref = sect.child(refName); ref; ref = ref.next_sibling(refName)) {
        const char* type = ref.attribute("w:type").value();
        if (!*type || !std::strcmp(type, "default")) {
            part = d.auxPart(d.main.relationshipTarget(qs(ref.attribute("r:id").value())));
            break;
        }
    }
    if (!part) {
        const char* rootName = footer ? "w:ftr" : "w:hdr";
        const QByteArray xml = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><") +
                               rootName + " xmlns:w=\"" + kNsW + "\" xmlns:r=\"" + kNsR + "\"><w:p/></" +
                               rootName + ">";
        QString name;
        int n = 1;
        do {
            name = QStringLiteral("word/%1%2.xml")
                       .arg(footer ? QStringLiteral("footer") : QStringLiteral("header"))
                       .arg(n++);
        } while (d.package.has(name));
        part = d.createAuxPart(
            name, footer ? kRelFooter : kRelHeader,
            footer ? "application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"
                   : "application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml",
            xml);
        if (!part)
            return {nullptr, {}};
        // The relationship just added is the last one of the main part.
        const pugi::xml_node rel = d.main.rels.child("Relationships").last_child();
        pugi::xml_node ref = sect.prepend_child(refName);
        if (footer) {
            // Footer references follow header references.
            sect.remove_child(ref);
            pugi::xml_node after;
            for (pugi::xml_node c = sect.first_child(); c && is(c, "w:headerReference"); c = c.next_sibling())
                after = c;
            ref = after ? sect.insert_child_after(refName, after) : sect.prepend_child(refName);
        }
        ref.append_attribute("w:type") = "default";
        ref.append_attribute("r:id") = rel.attribute("Id").value();
        pugi::xml_node root = d.main.xml.document_element();
        if (!root.attribute("xmlns:r"))
            root.append_attribute("xmlns:r") = kNsR;
    }
    pugi::xml_node root = part->xml.document_element();
    pugi::xml_node last = root.last_child();
    while (last && last.type() != pugi::node_element)
        last = last.previous_sibling();
    if (!is(last, "w:p"))
        last = root.append_child("w:p");
    return {part, last};
}

} // namespace

Cursor Document::footerCursor() {
    auto [part, p] = headerFooterEnd(*d, true);
    return part ? Cursor(d.get(), part, p, {}) : Cursor();
}

Cursor Document::headerCursor() {
    auto [part, p] = headerFooterEnd(*d, false);
    return part ? Cursor(d.get(), part, p, {}) : Cursor();
}

} // namespace velmora::docengine
