// The module that prints on paper through Qt's printing support, loaded by SystemPrinter when
// first needed.

#include "platform/SystemPrinter.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

extern "C" Q_DECL_EXPORT bool velmoraHasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

extern "C" Q_DECL_EXPORT QPagedPaintDevice*
velmoraOpenDefaultPrinter(const QPageSize& size, const QString& documentName, QString& printerName) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto* printer = new QPrinter(info, QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
    printer->setDocName(documentName);
    printer->setCreator(QStringLiteral("Velmora"));
    printerName = info.printerName();
    return printer;
}
