#include "platform/docengine/InlineRange.h"

#include "platform/docengine/DocTypes.h"
#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"

#include <vector>

namespace velmora::docengine {

using namespace wx;

namespace {

pugi::xml_node firstRPrBetween(pugi::xml_node from, pugi::xml_node to) {
    for (pugi::xml_node n = from; n && n != to; n = n.next_sibling()) {
        if (is(n, "w:r")) {
            if (pugi::xml_node rPr = n.child("w:rPr"); rPr && rPr.first_child())
                return rPr;
        } else if (isRunContainer(n)) {
            for (pugi::xml_node c = n.first_child(); c; c = nextInOrder(c, n, false))
                if (is(c, "w:rPr") && is(c.parent(), "w:r") && c.first_child())
                    return c;
        }
    }
    return {};
}

pugi::xml_node rPrBefore(pugi::xml_node marker) {
    for (pugi::xml_node n = marker.previous_sibling(); n; n = n.previous_sibling())
        if (is(n, "w:r"))
            return n.child("w:rPr");
    if (pugi::xml_node p = enclosingParagraph(marker))
        return p.child("w:pPr").child("w:rPr");
    return {};
}

void removeBetween(DocumentData& d, pugi::xml_node from, pugi::xml_node to) {
    std::vector<pugi::xml_node> doomed;
    for (pugi::xml_node n = from; n && n != to; n = n.next_sibling())
        if (!is(n, "w:pPr"))
            doomed.push_back(n);
    for (pugi::xml_node n : doomed)
        d.removeNode(n);
}

} // namespace

Status replaceInlineRange(DocumentData& d, pugi::xml_node start, pugi::xml_node end, const QString& text,
                          pugi::xml_node rPrFallback) {
    const bool sameParent = start.parent() == end.parent();
    pugi::xml_node p1 = start.parent();
    pugi::xml_node p2 = end.parent();
    if (!sameParent) {
        const bool siblings = is(p1, "w:p") && is(p2, "w:p") && p1.parent() == p2.parent();
        bool ordered = false;
        if (siblings)
            for (pugi::xml_node n = p1.next_sibling(); n; n = n.next_sibling())
                if (n == p2) {
                    ordered = true;
                    break;
                }
        if (!ordered || p2.child("w:pPr").child("w:sectPr"))
            return Error::make(DocError::Unsupported,
                               QStringLiteral("El texto a sustituir tiene una estructura que no se admite."));
    }

    // Keep a copy of the formatting before anything is removed.
    pugi::xml_document scratch;
    pugi::xml_node model = firstRPrBetween(start.next_sibling(), sameParent ? end : pugi::xml_node());
    if (!model && !sameParent)
        model = firstRPrBetween(p2.first_child(), end);
    if (!model)
        model = rPrFallback;
    if (!model)
        model = rPrBefore(start);
    pugi::xml_node rPr;
    if (model) {
        rPr = scratch.append_copy(model);
        rPr.set_name("w:rPr");
        for (const char* tracked : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange"})
            while (rPr.remove_child(tracked)) {
            }
    }

    if (sameParent) {
        removeBetween(d, start.next_sibling(), end);
    } else {
        removeBetween(d, start.next_sibling(), pugi::xml_node());
        removeBetween(d, p1.next_sibling(), p2);
        removeBetween(d, p2.first_child(), end);
        std::vector<pugi::xml_node> moving;
        for (pugi::xml_node n = end; n; n = n.next_sibling())
            moving.push_back(n);
        for (pugi::xml_node n : moving)
            p1.append_move(n);
        d.removeNode(p2);
    }
    if (!text.isEmpty())
        makeRun(end.parent(), end, rPr, text);
    return {};
}

} // namespace velmora::docengine
