#include "platform/SystemPrinter.h"

#include "platform/Modules.h"

namespace velmora {

bool hasDefaultPrinter() {
    Result<void (*)()> has = moduleFunction("velmora_printer", kVelmoraHasDefaultPrinterSymbol);
    return has && reinterpret_cast<VelmoraHasDefaultPrinterFunction>(has.value())();
}

Result<DefaultPrinter> openDefaultPrinter(const QPageSize& size, const QString& documentName) {
    Result<void (*)()> open = moduleFunction("velmora_printer", kVelmoraOpenDefaultPrinterSymbol);
    if (!open)
        return open.error();
    DefaultPrinter printer;
    printer.device.reset(
        reinterpret_cast<VelmoraOpenDefaultPrinterFunction>(open.value())(size, documentName, printer.name));
    return printer;
}

} // namespace velmora
