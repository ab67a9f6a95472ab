#include "platform/Modules.h"
#include "platform/PdfDrawing.h"
#include "platform/SystemPrinter.h"

#include <gtest/gtest.h>

using namespace velmora;

// The modules are found beside the programs' folder, as in an installation; one that is not
// there, or lacks what is asked of it, is a Spanish error naming it, every time it is asked.
TEST(Modules, AreFoundBesideTheProgramsAndAMissingOneIsNamed) {
    EXPECT_TRUE(moduleFunction("velmora_pdf", kVelmoraOpenPdfSymbol).ok());
    EXPECT_TRUE(moduleFunction("velmora_printer", kVelmoraOpenDefaultPrinterSymbol).ok());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto missing = moduleFunction("velmora_ninguno", "velmoraOpenPdf");
        ASSERT_FALSE(missing.ok());
        EXPECT_TRUE(missing.error().description.startsWith(
            QStringLiteral("no se ha podido cargar el módulo velmora_ninguno de la instalación (")));
    }
    EXPECT_FALSE(moduleFunction("velmora_pdf", "velmoraNoSuchFunction").ok());
    const auto notAPdf =
        openPdfDrawing(QStringLiteral("/no/such/file.pdf"), false, QStringLiteral("no es un PDF"));
    ASSERT_FALSE(notAPdf.ok());
    EXPECT_EQ(notAPdf.error().description, QStringLiteral("no es un PDF"));
}
