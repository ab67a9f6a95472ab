#include "platform/docengine/WordXml.h"

namespace velmora::docengine::wx {

QString excessiveNesting(const pugi::xml_node& root) {
    int depth = 0;
    int tables = 0;
    int controls = 0;
    const auto count = [&](const pugi::xml_node& n, int step) {
        if (n.type() != pugi::node_element)
            return;
        depth += step;
        if (is(n, "w:tbl"))
            tables += step;
        else if (is(n, "w:sdt") || is(n, "w:customXml"))
            controls += step;
    };
    // Iterative on purpose: this is the walk that must survive the files it refuses.
    pugi::xml_node n = root.first_child();
    while (n) {
        count(n, +1);
        if (tables > kMaxTableNesting)
            return QStringLiteral("anida más de %1 tablas unas dentro de otras").arg(kMaxTableNesting);
        if (controls > kMaxContentControlNesting)
            return QStringLiteral("anida más de %1 controles de contenido unos dentro de otros")
                .arg(kMaxContentControlNesting);
        if (depth > kMaxElementDepth)
            return QStringLiteral("anida su contenido en más de %1 niveles").arg(kMaxElementDepth);
        if (pugi::xml_node child = n.first_child()) {
            n = child;
            continue;
        }
        for (;;) {
            count(n, -1);
            if (pugi::xml_node next = n.next_sibling()) {
                n = next;
                break;
            }
            n = n.parent();
            if (!n || n == root)
                return {};
        }
    }
    return {};
}

} // namespace velmora::docengine::wx
