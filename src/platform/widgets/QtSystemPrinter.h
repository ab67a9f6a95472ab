#pragma once

#include "platform/SystemPrinter.h"

namespace velmora {

// The system's printers through Qt's printing support.
class QtSystemPrinter final : public SystemPrinter {
public:
    bool hasDefaultPrinter() const override;
    DefaultPrinter openDefaultPrinter(const QPageSize& size, const QString& documentName) override;
};

} // namespace velmora
