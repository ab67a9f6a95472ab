#pragma once

#include "platform/docengine/StyleSheet.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace velmora::docengine {

// A font of a layout with the measurements lines are built from. Widths of the words met are
// kept: documents repeat the same words (labels, field values) over and over.
class MeasuredFont {
public:
    explicit MeasuredFont(const QFont& font);

    const QFont& font() const { return m_font; }
    qreal ascent() const { return m_ascent; }
    qreal descent() const { return m_descent; }
    qreal leading() const { return m_leading; }
    qreal width(const QString& text);
    // The advance of `text` when it is at most `limit`; otherwise some value above `limit`,
    // found without measuring the whole text (a word of a hundred thousand characters).
    qreal widthUpTo(const QString& text, qreal limit);
    // The longest prefix of `text`, at most `maxLength` characters, whose advance `fits`;
    // found by doubling then halving (advances grow with the prefix), so a long word costs
    // about one line's measuring per line it fills.
    int longestPrefixWithin(const QString& text, int maxLength, const std::function<bool(qreal)>& fits) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    qreal m_ascent = 0;
    qreal m_descent = 0;
    qreal m_leading = 0;
    QHash<QString, qreal> m_widths;
};

// The fonts one layout uses, numbered in the order they are first asked for (the layout's pages
// refer to them by number). Each layout has its own: nothing here is shared between threads.
class LayoutFonts {
public:
    // The font for character properties, type size scaled by `scale` (superscripts) and, when
    // `halfPointCap` > 0, no larger than that.
    int fontFor(const CharProps& chars, qreal scale = 1.0, int halfPointCap = 0);
    MeasuredFont& operator[](int index) { return *m_fonts[static_cast<size_t>(index)]; }
    std::vector<QFont> fonts() const;

private:
    std::vector<std::unique_ptr<MeasuredFont>> m_fonts;
    QHash<QString, int> m_index;
};

} // namespace velmora::docengine
