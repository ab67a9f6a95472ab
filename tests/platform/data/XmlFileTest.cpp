#include "platform/data/XmlFile.h"

#include "platform/data/CodePages.h"
#include "platform/data/XmlPath.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QString kDocument = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\r\n"
                                         "<Configuracion Nombre=\"Concurso Ñ €\"><Tab>   </Tab>"
                                         "<Vacio></Vacio></Configuracion>\r\n");

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

struct Encoded {
    const char* what;
    QByteArray bytes;
    pugi::xml_encoding encoding;
    bool byteOrderMark;
};

QList<Encoded> encodings() {
    const QString u16 = kDocument.arg(u"UTF-16"_s);
    const QByteArray cp1252 = codepage::encodeCp1252(kDocument.arg(u"windows-1252"_s));
    return {
        {"UTF-8", kDocument.arg(u"UTF-8"_s).toUtf8(), pugi::encoding_utf8, false},
        {"UTF-8 con BOM", "\xEF\xBB\xBF" + kDocument.arg(u"UTF-8"_s).toUtf8(), pugi::encoding_utf8, true},
        {"UTF-16 LE con BOM", "\xFF\xFE" + utf16(u16, false), pugi::encoding_utf16_le, true},
        {"UTF-16 BE con BOM", "\xFE\xFF" + utf16(u16, true), pugi::encoding_utf16_be, true},
        {"UTF-16 LE sin BOM", utf16(u16, false), pugi::encoding_utf16_le, false},
        {"windows-1252", cp1252, pugi::encoding_latin1, false},
    };
}

} // namespace

TEST(XmlFile, EveryEncodingReadsTheSameTextsWithBlanksKept) {
    for (const Encoded& e : encodings()) {
        pugi::xml_document doc;
        const XmlRead read = readXml(e.bytes, doc);
        ASSERT_TRUE(read.result) << e.what << ": " << read.result.description();
        EXPECT_EQ(read.encoding.encoding, e.encoding) << e.what;
        EXPECT_EQ(read.encoding.byteOrderMark, e.byteOrderMark) << e.what;
        EXPECT_EQ(selectText(doc, u"//Configuracion/@Nombre"_s).valueOr({}), u"Concurso Ñ €"_s) << e.what;
        EXPECT_EQ(selectText(doc, u"//Tab[0]"_s).valueOr({}), u"   "_s) << e.what;
        EXPECT_EQ(selectText(doc, u"//Vacio"_s).valueOr(u"?"_s), QString()) << e.what;
    }
}

TEST(XmlFile, ABrokenDocumentIsAnError) {
    pugi::xml_document doc;
    const Status parsed = parseXml(QByteArray("\xFF\xFE<\0a\0", 6), doc);
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.error().number, ErrorCode::BadXml);
    EXPECT_FALSE(doc.first_child());
}

// Every plain position moves up by one; predicates that are not a plain number, and positions
// too large to hold (which must never become the first node), stay as they are.
TEST(XmlPath, OnlyPlainPositionsMoveUpByOne) {
    const std::pair<const char*, const char*> moved[] = {
        {"//Tab[0]/NombreTab", "//Tab[1]/NombreTab"},
        {"/a[9]/b[0]/c[99]", "/a[10]/b[1]/c[100]"},
        {"//x[007]", "//x[8]"},
        {"//Tab[@n='0'][0]", "//Tab[@n='0'][1]"}, // digits inside an attribute test are no position
        {"//Tab[9223372036854775806]", "//Tab[9223372036854775807]"},
    };
    for (const auto& [path, xpath] : moved)
        EXPECT_EQ(toXPath(QString::fromLatin1(path)), QString::fromLatin1(xpath)) << path;
    for (const char* path : {"//Configuracion/@Nombre", "", "//Tab[@id='3']", "//Tab[ 0 ]", "//Tab[]",
                             "//Tab[0", "//Tab[-1]", "//Tab[1+1]", "//Tab[last()]", "[", "//a[0x1]",
                             "//Tab[99999999999999999999]", "//Tab[9223372036854775807]"})
        EXPECT_EQ(toXPath(QString::fromLatin1(path)), QString::fromLatin1(path)) << path;
}
