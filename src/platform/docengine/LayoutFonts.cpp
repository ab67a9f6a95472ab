#include "platform/docengine/LayoutFonts.h"

#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/LayoutConstants.h"

#include <algorithm>
#include <cmath>

namespace velmora::docengine {

namespace {
// Texts up to this long are measured whole; longer ones by growing prefixes.
constexpr int kMeasuredWhole = 256;
} // namespace

MeasuredFont::MeasuredFont(const QFont& font) : m_font(font), m_metrics(font) {
    m_ascent = m_metrics.ascent();
    m_descent = m_metrics.descent();
    m_leading = std::max<qreal>(0, m_metrics.lineSpacing() - m_metrics.ascent() - m_metrics.descent());
}

qreal MeasuredFont::width(const QString& text) {
    auto it = m_widths.constFind(text);
    if (it != m_widths.cend())
        return *it;
    const qreal w = m_metrics.horizontalAdvance(text);
    m_widths.insert(text, w);
    return w;
}

qreal MeasuredFont::widthUpTo(const QString& text, qreal limit) {
    for (qsizetype length = kMeasuredWhole; length < text.size(); length *= 2) {
        const qreal prefix = m_metrics.horizontalAdvance(text.left(length));
        if (prefix > limit)
            return prefix;
    }
    return width(text);
}

int MeasuredFont::longestPrefixWithin(const QString& text, int maxLength,
                                      const std::function<bool(qreal)>& fits) const {
    int fitting = 0;
    int probe = 1;
    while (probe <= maxLength && fits(m_metrics.horizontalAdvance(text.left(probe)))) {
        fitting = probe;
        probe *= 2;
    }
    int failing = std::min(probe, maxLength + 1);
    while (failing - fitting > 1) {
        const int middle = fitting + (failing - fitting) / 2;
        if (fits(m_metrics.horizontalAdvance(text.left(middle))))
            fitting = middle;
        else
            failing = middle;
    }
    return fitting;
}

int LayoutFonts::fontFor(const CharProps& c, qreal scale, int halfPointCap) {
    int halfPoints = std::max(1, static_cast<int>(std::lround(c.halfPoints * scale)));
    if (halfPointCap > 0)
        halfPoints = std::min(halfPoints, halfPointCap);
    const QString key = QStringLiteral("%1|%2|%3%4%5%6")
                            .arg(c.font)
                            .arg(halfPoints)
                            .arg(c.bold ? 'b' : '-')
                            .arg(c.italic ? 'i' : '-')
                            .arg(c.underline ? 'u' : '-')
                            .arg(c.strike ? 's' : '-');
    auto it = m_index.constFind(key);
    if (it != m_index.cend())
        return *it;
    QFont f(renderFamily(c.font));
    f.setPixelSize(halfPoints * layout::kTwipsPerHalfPoint);
    f.setBold(c.bold);
    f.setItalic(c.italic);
    f.setUnderline(c.underline);
    f.setStrikeOut(c.strike);
    // Unhinted outlines advance the same at every size, so lines break where they break on
    // paper whatever the screen.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    m_fonts.push_back(std::make_unique<MeasuredFont>(f));
    const int index = static_cast<int>(m_fonts.size()) - 1;
    m_index.insert(key, index);
    return index;
}

std::vector<QFont> LayoutFonts::fonts() const {
    std::vector<QFont> out;
    out.reserve(m_fonts.size());
    for (const auto& f : m_fonts)
        out.push_back(f->font());
    return out;
}

} // namespace velmora::docengine
