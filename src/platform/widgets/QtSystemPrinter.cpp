#include "platform/widgets/QtSystemPrinter.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace velmora {

bool QtSystemPrinter::hasDefaultPrinter() const {
    return !QPrinterInfo::defaultPrinter().isNull();
}

DefaultPrinter QtSystemPrinter::openDefaultPrinter(const QPageSize& size, const QString& documentName) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {};
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
    printer->setDocName(documentName);
    printer->setCreator(QStringLiteral("Velmora"));
    return DefaultPrinter{info.printerName(), std::move(printer)};
}

} // namespace velmora
