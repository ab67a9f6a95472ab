#include "editor/FiltraTecla.h"

namespace velmora {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

} // namespace

KeyFilterResult FiltraTecla(QChar key, const QString& currentText) {
    KeyFilterResult result;
    // Enter moves on and is then filtered like any other key (and discarded).
    result.sendTab = key.unicode() == kEnter;
    if (key == QLatin1Char('-')) {
        result.key = key;
        return result;
    }
    // "n" is the decimal key of the numeric pad as some keyboards report it.
    if (key == QLatin1Char('.') || key == QLatin1Char('n'))
        key = QLatin1Char(',');
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    const bool firstComma = key == QLatin1Char(',') && !currentText.contains(QLatin1Char(','));
    if (digit || key.unicode() == kBackspace || firstComma)
        result.key = key;
    return result;
}

} // namespace velmora
