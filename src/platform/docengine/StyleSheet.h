#pragma once

#include "platform/docengine/DocTypes.h"

#include <QHash>
#include <QRgb>
#include <QString>
#include <QVector>

#include <pugixml.hpp>

namespace velmora::docengine {

enum class LineRule { Auto, AtLeast, Exact };

// Character properties as the renderer needs them.
struct CharProps {
    QString font = QStringLiteral("Times New Roman");
    int halfPoints = 20;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool caps = false;
    bool hidden = false;
    QRgb color = 0xff000000;
    int vertAlign = 0; // 1 superscript, -1 subscript
};

struct ParaProps {
    Alignment align = Alignment::Left;
    Twips spaceBefore = 0;
    Twips spaceAfter = 0;
    int line = 240;
    LineRule lineRule = LineRule::Auto;
    Twips indentLeft = 0;
    Twips indentRight = 0;
    Twips firstLine = 0; // negative: hanging
    bool pageBreakBefore = false;
    bool keepNext = false;
    QVector<Twips> tabStops; // left tab positions, ascending
};

struct ResolvedStyle {
    ParaProps para;
    CharProps chars;
};

// Styles and document defaults of a document (styles.xml), resolved along their basedOn chains.
class StyleSheet {
public:
    void load(const pugi::xml_node& stylesRoot, const pugi::xml_node& settingsRoot);

    // Defaults plus the paragraph style (the default paragraph style when `styleId` is empty).
    const ResolvedStyle& paragraphStyle(const char* styleId);
    // Applies a character style (and its chain) on top of `props`.
    void applyCharacterStyle(const char* styleId, CharProps& props);
    // Table properties of a table style and its chain, nearest last (empty when none).
    QVector<pugi::xml_node> tableStyleChain(const char* styleId) const;
    Twips defaultTabStop() const { return m_defaultTab; }

    static void applyPPr(const pugi::xml_node& pPr, ParaProps& p);
    static void applyRPr(const pugi::xml_node& rPr, CharProps& c);

private:
    void resolveChain(const char* styleId, ResolvedStyle& out, int depth);
    QHash<QString, pugi::xml_node> m_styles;
    QHash<QString, ResolvedStyle> m_cache;
    ResolvedStyle m_defaults;
    QString m_defaultParagraphStyle;
    QString m_defaultTableStyle;
    Twips m_defaultTab = 720;
};

} // namespace velmora::docengine
