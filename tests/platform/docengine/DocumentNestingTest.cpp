// Documents whose tables, content controls or elements nest deeper than any real document are
// refused when they are read, with a clear error; documents at the limits read, print and lay
// out normally.

#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/DocxPackage.h"

#include "platform/docengine/SampleDocuments.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

QByteArray repeated(const char* piece, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

QByteArray nestedTables(int depth) {
    return repeated("<w:tbl><w:tr><w:tc>", depth) + "<w:p><w:r><w:t>centro</w:t></w:r></w:p>" +
           repeated("</w:tc></w:tr></w:tbl><w:p/>", depth);
}

QByteArray nestedControls(int depth) {
    return repeated("<w:sdt><w:sdtContent>", depth) + "<w:p><w:r><w:t>dentro</w:t></w:r></w:p>" +
           repeated("</w:sdtContent></w:sdt>", depth);
}

QByteArray nestedLinks(int depth) {
    return "<w:p>" + repeated("<w:hyperlink>", depth) + "<w:r><w:t>enlace</w:t></w:r>" +
           repeated("</w:hyperlink>", depth) + "</w:p>";
}

using test::packageWithBody;

TEST(DocumentNesting, DocumentsAtTheLimitsAreUsable) {
    for (const QByteArray& body : {nestedTables(32), nestedControls(64), nestedLinks(200)}) {
        auto doc = Document::fromBytes(packageWithBody(body));
        ASSERT_TRUE(doc.ok()) << doc.error().description.toStdString();
        EXPECT_FALSE(doc->plainText().trimmed().isEmpty());
        const DocumentLayout layout(doc.value());
        EXPECT_GE(layout.pageCount(), 1);
    }
    auto controls = Document::fromBytes(packageWithBody(nestedControls(64) + nestedTables(1)));
    EXPECT_EQ(controls->plainText(), u"dentro\ncentro\n\n"_s);
    EXPECT_EQ(controls.value().tableCount(), 1);
}

TEST(DocumentNesting, DeeperDocumentsAreRefusedWhenRead) {
    const struct {
        QByteArray body;
        const char* problem;
    } cases[] = {
        {nestedTables(33), "anida más de 32 tablas unas dentro de otras"},
        {nestedTables(10000), "anida más de 32 tablas unas dentro de otras"},
        {nestedControls(65), "anida más de 64 controles de contenido unos dentro de otros"},
        {nestedControls(100000), "anida más de 64 controles de contenido unos dentro de otros"},
        {"<w:customXml>" + nestedControls(64) + "</w:customXml>",
         "anida más de 64 controles de contenido unos dentro de otros"},
        {nestedLinks(100000), "anida su contenido en más de 256 niveles"},
    };
    for (const auto& c : cases) {
        auto fromBytes = Document::fromBytes(packageWithBody(c.body));
        ASSERT_FALSE(fromBytes.ok()) << c.problem;
        EXPECT_EQ(fromBytes.error().number, DocError::Unsupported);
        EXPECT_EQ(fromBytes.error().description,
                  u"El documento %1 y no se puede abrir."_s.arg(QString::fromUtf8(c.problem)));
    }
}

TEST(DocumentNesting, AHeaderNestedTooDeeplyIsLeftOutOfTheLayout) {
    Document blank;
    blank.headerCursor().insertText(u"cabecera"_s);
    auto pkg = DocxPackage::fromBytes(blank.toBytes().value()).value();
    QString headerName;
    for (const QString& name : pkg.partNames())
        if (name.startsWith(QLatin1String("word/header")) && name.endsWith(QLatin1String(".xml")))
            headerName = name;
    ASSERT_FALSE(headerName.isEmpty());
    pkg.setPart(headerName,
                "<w:hdr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" +
                    nestedTables(10000) + "</w:hdr>");
    auto doc = Document::fromBytes(pkg.toBytes().value());
    ASSERT_TRUE(doc.ok()) << doc.error().description.toStdString();
    const DocumentLayout layout(doc.value());
    EXPECT_EQ(layout.pageCount(), 1);
    EXPECT_FALSE(layout.pageText(0).contains(u"centro"_s));
}

} // namespace
