#include "printing/Pdf417Results.h"

#include "platform/data/CodePages.h"

#include <algorithm>
#include <utility>

namespace velmora {
namespace {

QString textOf(const ZXing::Result& result) {
    if (!result.hasECI()) {
        const ZXing::ByteArray& bytes = result.bytes();
        return codepage::decodeCp1252(
            QByteArrayView(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    return QString::fromStdString(result.text());
}

std::pair<int, int> topLeft(const ZXing::Result& r) {
    const ZXing::Position& p = r.position();
    int top = p[0].y, left = p[0].x;
    for (int i = 1; i < 4; ++i) {
        top = std::min(top, p[i].y);
        left = std::min(left, p[i].x);
    }
    return {top, left};
}

} // namespace

QStringList pdf417TextsInReadingOrder(ZXing::Results results) {
    std::erase_if(results, [](const ZXing::Result& r) { return !r.isValid(); });
    std::stable_sort(results.begin(), results.end(),
                     [](const ZXing::Result& a, const ZXing::Result& b) { return topLeft(a) < topLeft(b); });
    QStringList texts;
    for (const ZXing::Result& r : results)
        texts << textOf(r);
    return texts;
}

} // namespace velmora
