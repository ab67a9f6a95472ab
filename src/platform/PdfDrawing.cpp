#include "platform/PdfDrawing.h"

#include "platform/Modules.h"

namespace velmora {

Result<std::unique_ptr<PdfDrawing>> openPdfDrawing(const QString& path, bool antialiased,
                                                   const QString& unreadable) {
    const auto open = moduleFunction<VelmoraOpenPdfFunction>("velmora_pdf", kVelmoraOpenPdfSymbol);
    if (!open)
        return open.error();
    std::unique_ptr<PdfDrawing> drawing((*open)(path, antialiased));
    if (!drawing)
        return Error::make(ErrorCode::FileAccess, unreadable);
    return drawing;
}

} // namespace velmora
