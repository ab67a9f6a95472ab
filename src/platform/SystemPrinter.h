#pragma once

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QString>

#include <memory>

namespace velmora {

// The default system printer, set up for one document.
struct DefaultPrinter {
    QString name;
    std::unique_ptr<QPagedPaintDevice> device; // null when no default printer is configured
};

// The system's printers, as printing on paper needs them. Qt's printing support brings Qt
// Widgets with it, so the window library has the real ones (platform/widgets/QtSystemPrinter);
// the tools have none and print to PDF.
class SystemPrinter {
public:
    virtual ~SystemPrinter() = default;
    // Whether a default printer is configured.
    virtual bool hasDefaultPrinter() const = 0;
    // The default printer set up for one document, named `documentName`, of pages of `size`
    // filled to the edge, at the printer's full resolution.
    virtual DefaultPrinter openDefaultPrinter(const QPageSize& size, const QString& documentName) = 0;
};

} // namespace velmora
