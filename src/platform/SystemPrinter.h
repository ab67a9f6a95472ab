#pragma once

#include "platform/Result.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QString>

#include <memory>

namespace velmora {

// The default system printer, through Qt's printing support in the module velmora_printer
// (see platform/Modules.h).
struct DefaultPrinter {
    QString name;
    std::unique_ptr<QPagedPaintDevice> device; // null when no default printer is configured
};

// Whether a default printer is configured; false too when the module cannot be loaded.
bool hasDefaultPrinter();

// The default printer set up for one document, named `documentName`, of pages of `size`
// filled to the edge, at the printer's full resolution.
Result<DefaultPrinter> openDefaultPrinter(const QPageSize& size, const QString& documentName);

} // namespace velmora

// What the module exports.
using VelmoraHasDefaultPrinterFunction = bool (*)();
using VelmoraOpenDefaultPrinterFunction = QPagedPaintDevice* (*)(const QPageSize& size,
                                                                 const QString& documentName,
                                                                 QString& printerName);
inline constexpr char kVelmoraHasDefaultPrinterSymbol[] = "velmoraHasDefaultPrinter";
inline constexpr char kVelmoraOpenDefaultPrinterSymbol[] = "velmoraOpenDefaultPrinter";
