#include "platform/barcode/Pdf417Writer.h"

#include "platform/data/AtomicFile.h"

#include "platform/data/CodePages.h"

#include <QBuffer>

#include <zint.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace velmora {
namespace {

// PDF417 geometry, in modules.
constexpr int kQuietModules = 2;      // clear space the standard asks for on every side
constexpr int kRowModules = 3;        // row height; the standard's minimum, and zint's own
constexpr int kFixedModules = 69;     // start and stop patterns with the two row indicators
constexpr int kModulesPerColumn = 17; // one codeword
constexpr int kMaxColumns = 30;
constexpr int kMinRows = 3;
constexpr int kMaxRows = 90;
constexpr int kLowestErrorCorrection = 2; // below this a stain on paper loses the symbol

struct ZintDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, ZintDeleter>;

struct Payload {
    QByteArray bytes;
    bool utf8Eci = false;
};

Payload payloadOf(const QString& text) {
    QByteArray cp1252 = codepage::encodeCp1252(text);
    if (codepage::decodeCp1252(cp1252) == text)
        return {std::move(cp1252), false};
    return {text.toUtf8(), true};
}

Error encodingError(const QString& detail) {
    return Error::make(ErrorCode::InvalidProcedureCall,
                       QStringLiteral("No se ha podido generar el código de barras: ") + detail);
}

// Encodes and rasterises with one pixel per module and one pixel per row, so that the
// bitmap zint hands back is the plain module matrix; the scaling is done here, where
// the pixel grid is under control.
Result<Symbol> encode(const Payload& payload, int columns, int errorCorrection) {
    Symbol symbol(ZBarcode_Create());
    if (!symbol)
        return encodingError(QStringLiteral("falta memoria"));
    symbol->symbology = BARCODE_PDF417;
    symbol->option_1 = errorCorrection;
    symbol->option_2 = columns;
    symbol->input_mode = (payload.utf8Eci ? UNICODE_MODE : DATA_MODE) | HEIGHTPERROW_MODE;
    symbol->eci = payload.utf8Eci ? 26 : 0;
    symbol->height = 1.0f;
    symbol->scale = 0.5f;
    symbol->output_options = BARCODE_NO_QUIET_ZONES;
    symbol->show_hrt = 0;
    int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(payload.bytes.constData()),
                             int(payload.bytes.size()));
    if (rc < ZINT_ERROR)
        rc = ZBarcode_Buffer(symbol.get(), 0);
    if (rc >= ZINT_ERROR)
        return encodingError(QString::fromLatin1(symbol->errtxt));
    if (symbol->bitmap_width != symbol->width || symbol->bitmap_height != symbol->rows)
        return encodingError(QStringLiteral("la trama de zint no es la esperada"));
    return symbol;
}

bool isDark(const zint_symbol& symbol, int x, int y) {
    const unsigned char* rgb = symbol.bitmap + 3 * (size_t(y) * symbol.bitmap_width + x);
    return rgb[0] < 128;
}

QImage paint(const zint_symbol& symbol, QSize size, QRgb background, int module, QRect* symbolRect) {
    QImage image(size, QImage::Format_Mono);
    image.setColorTable({background, qRgb(0, 0, 0)});
    image.fill(0);
    const int dotsPerMeter = qRound(Pdf417Writer::kPixelsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);

    const int rowPixels = kRowModules * module;
    const QSize bars(symbol.width * module, symbol.rows * rowPixels);
    // Centred, but on the module grid: module edges then fall on whole device pixels
    // wherever the picture is drawn at a whole multiple of 2/3 of its resolution.
    const int left = (size.width() - bars.width()) / 2 / module * module;
    const int top = (size.height() - bars.height()) / 2 / module * module;
    *symbolRect = QRect(QPoint(left, top), bars);

    for (int row = 0; row < symbol.rows; ++row) {
        const int firstLine = top + row * rowPixels;
        for (int x = 0; x < symbol.width; ++x) {
            if (!isDark(symbol, x, row))
                continue;
            for (int dx = 0; dx < module; ++dx)
                image.setPixel(left + x * module + dx, firstLine, 1);
        }
        for (int line = 1; line < rowPixels; ++line)
            std::memcpy(image.scanLine(firstLine + line), image.constScanLine(firstLine),
                        size_t(image.bytesPerLine()));
    }
    return image;
}

} // namespace

QSize Pdf417Writer::pictureSize(int widthTwips, int heightTwips) {
    const auto pixels = [](int twips) {
        return int((qint64(twips) * kPixelsPerInch + kTwipsPerInch / 2) / kTwipsPerInch);
    };
    return QSize(pixels(widthTwips), pixels(heightTwips));
}

Result<QImage> Pdf417Writer::render(Pdf417Layout* layout) const {
    if (m_widthTwips <= 0 || m_heightTwips <= 0)
        return encodingError(
            QStringLiteral("el tamaño %1 x %2 no es válido").arg(m_widthTwips).arg(m_heightTwips));
    if (m_text.isEmpty())
        return encodingError(QStringLiteral("el texto está vacío"));

    const QSize size = pictureSize(m_widthTwips, m_heightTwips);
    const Payload payload = payloadOf(m_text);
    for (int module = kPreferredModulePixels; module >= 1; --module) {
        const int columns = std::min(
            kMaxColumns, (size.width() / module - 2 * kQuietModules - kFixedModules) / kModulesPerColumn);
        const int maxRows = std::min(kMaxRows, (size.height() / module - 2 * kQuietModules) / kRowModules);
        if (columns < 1 || maxRows < kMinRows)
            continue;
        for (int level = kPreferredErrorCorrection; level >= kLowestErrorCorrection; --level) {
            Result<Symbol> symbol = encode(payload, columns, level);
            if (!symbol)
                continue; // too long for this level and width
            const zint_symbol& s = *symbol.value();
            // zint widens the symbol on its own when the rows would run out; that no longer fits.
            if (s.width != kFixedModules + kModulesPerColumn * columns || s.rows > maxRows)
                continue;
            Pdf417Layout chosen;
            chosen.dataColumns = columns;
            chosen.rows = s.rows;
            chosen.errorCorrectionLevel = level;
            chosen.modulePixels = module;
            chosen.rowPixels = kRowModules * module;
            chosen.utf8Eci = payload.utf8Eci;
            QImage image = paint(s, size, m_background, module, &chosen.symbolRect);
            if (layout)
                *layout = chosen;
            return image;
        }
    }
    return Error::make(
        ErrorCode::InvalidProcedureCall,
        QStringLiteral("No cabe un texto de %1 caracteres en un código de barras de %2 x %3 twips")
            .arg(m_text.size())
            .arg(m_widthTwips)
            .arg(m_heightTwips));
}

Status Pdf417Writer::writeBitmap(const QString& stem, Pdf417Layout* layout) const {
    Result<QImage> image = render(layout);
    if (!image)
        return image.error();
    const QString path = stem + QStringLiteral(".bmp");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.value().save(&buffer, "BMP"))
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha podido preparar la imagen del código de barras %1").arg(path));
    return writeFileAtomically(path, bytes);
}

} // namespace velmora
