#include "platform/barcode/BarcodeFolding.h"

#include <array>

namespace velmora {
namespace {

struct Replacement {
    char16_t from;
    const char* to;
};

// Applied one after the other. "&" goes first, so every "&" left in a folded text
// introduces a folded letter.
constexpr std::array<Replacement, 53> kFolding = {{
    {u'&', " "},  {u'ä', "&a"}, {u'ë', "&e"}, {u'ï', "&i"}, {u'ö', "&o"}, {u'ü', "&u"}, {u'Ä', "&A"},
    {u'Ë', "&E"}, {u'Ï', "&I"}, {u'Ö', "&O"}, {u'Ü', "&U"}, {u'â', "&a"}, {u'ê', "&e"}, {u'î', "&i"},
    {u'ô', "&o"}, {u'û', "&u"}, {u'Â', "&A"}, {u'Ê', "&E"}, {u'Î', "&I"}, {u'Ô', "&O"}, {u'Û', "&U"},
    {u'á', "&a"}, {u'é', "&e"}, {u'í', "&i"}, {u'ó', "&o"}, {u'ú', "&u"}, {u'Á', "&A"}, {u'É', "&E"},
    {u'Í', "&I"}, {u'Ó', "&O"}, {u'Ú', "&U"}, {u'à', "&a"}, {u'è', "&e"}, {u'ì', "&i"}, {u'ò', "&o"},
    {u'ù', "&u"}, {u'À', "&A"}, {u'È', "&E"}, {u'Ì', "&I"}, {u'Ò', "&O"}, {u'Ù', "&U"}, {u'ñ', "&n"},
    {u'Ñ', "&N"}, {u'º', "."},  {u'ª', "."},  {u'"', "'"},  {u'·', "."},  {u'¿', " "},  {u'?', " "},
    {u'!', " "},  {u'¡', " "},  {u'ç', "c"},  {u'Ç', "C"},
}};

} // namespace

QString foldBarcodeText(const QString& text) {
    QString folded = text.normalized(QString::NormalizationForm_C);
    for (const Replacement& r : kFolding)
        folded.replace(QChar(r.from), QLatin1String(r.to));
    return folded;
}

} // namespace velmora
