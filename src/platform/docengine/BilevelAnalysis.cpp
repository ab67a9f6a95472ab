#include "platform/docengine/BilevelAnalysis.h"

namespace velmora::docengine {

BilevelImage analyseBilevel(const QImage& source) {
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

} // namespace velmora::docengine
