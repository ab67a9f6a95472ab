// Document packages built to do harm: oversized, ambiguous or not packages at all are refused
// with Spanish reasons that name the file.
#include "platform/docengine/DocTypes.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocxPackage.h"

#include "platform/docengine/SampleDocuments.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora::docengine {
namespace {

using test::packageWith;

TEST(DocEnginePackageLimits, PartsInflatingPastTheCapAreRefusedBeforeTheyAreRead) {
    // Zeros shrink a thousandfold: a small file that would inflate to 65 MB.
    const QByteArray bomb = packageWith(u"word/media/relleno.bin"_s, QByteArray(65 * 1024 * 1024, '\0'));
    ASSERT_LT(bomb.size(), 1024 * 1024);
    auto refused = DocxPackage::fromBytes(bomb);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().number, DocError::NotAPackage);
    EXPECT_TRUE(refused.error().description.contains(u"descomprimido ocuparía más de 64 MB"_s))
        << refused.error().description.toStdString();

    // Just under the cap still opens.
    EXPECT_TRUE(
        DocxPackage::fromBytes(packageWith(u"word/media/relleno.bin"_s, QByteArray(8 * 1024 * 1024, '\0')))
            .ok());
}

// Files that are no ZIP, or hold one part twice, are DocEngineFormFieldLookup's
// ProblemsInsideThePackageNameTheFile.
TEST(DocEnginePackageLimits, ReasonsNameTheFileInSpanish) {
    test::TempDir dir;
    EXPECT_FALSE(DocxPackage::fromBytes(packageWith(u"WORD/DOCUMENT.XML"_s, "<otro/>")).ok())
        << "part names do not tell case apart";
    const QString cut = dir.write(u"cortado.doc"_s, Document().toBytes().value().left(300));
    auto truncated = Document::open(cut);
    ASSERT_FALSE(truncated.ok());
    EXPECT_TRUE(truncated.error().description.startsWith(cut + u": El archivo no es"_s));
    EXPECT_FALSE(truncated.error().description.contains(u"Not a zip"_s));

    auto folder = Document::open(dir.path());
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().description,
              u"No se puede leer el archivo %1: no es un fichero normal."_s.arg(dir.path()));
}

} // namespace
} // namespace velmora::docengine
