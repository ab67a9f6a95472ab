#include "platform/SystemPrinter.h"

#include "platform/Modules.h"

namespace velmora {

bool hasDefaultPrinter() {
    const auto has =
        moduleFunction<VelmoraHasDefaultPrinterFunction>("velmora_printer", kVelmoraHasDefaultPrinterSymbol);
    return has && (*has)();
}

Result<DefaultPrinter> openDefaultPrinter(const QPageSize& size, const QString& documentName) {
    const auto open = moduleFunction<VelmoraOpenDefaultPrinterFunction>("velmora_printer",
                                                                        kVelmoraOpenDefaultPrinterSymbol);
    if (!open)
        return open.error();
    DefaultPrinter printer;
    printer.device.reset((*open)(size, documentName, printer.name));
    return printer;
}

} // namespace velmora
