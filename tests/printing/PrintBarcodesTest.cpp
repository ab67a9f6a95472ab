#include "printing/PrintBarcodes.h"

#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using docengine::Cursor;
using docengine::Document;
using docengine::DocumentBuilder;
using docengine::DocumentLayout;

const QString kHeader = u"12345678Z10010A205/03/202414:05:09"_s;

// A document of three sheets: the first page's barcode, then a list barcode on each of the
// next two sheets, all three inserted with the page number 1.
struct ThreeSheets {
    test::TempDir dir;
    FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 5, 9))};
    Pdf417Writer encoder;
    Document doc;
    PrintBarcodes barcodes{encoder, kHeader, dir.path(), clock};

    ThreeSheets() {
        DocumentBuilder b(doc);
        insert(b.paragraph(u"Primera hoja"_s), BarcodeKind::FirstPage, u"N|GARCÍA|"_s, 2000);
        b.pageBreak();
        insert(b.paragraph(u"Vacantes"_s), BarcodeKind::Vacancies, u"0001  123"_s, 900);
        b.pageBreak();
        insert(b.paragraph(u"Resultas"_s), BarcodeKind::Resultas, u"000145678"_s, 900);
    }
    void insert(Cursor& at, BarcodeKind kind, const QString& data, qint16 height) {
        at.insertLineBreak();
        const Status inserted = barcodes.insert(at, kind, 1, data, height);
        ASSERT_TRUE(inserted.ok()) << inserted.error().description.toStdString();
    }
    // The layout index of the picture shown on a page.
    static int pictureOn(const DocumentLayout& layout, int page) {
        return layout.page(page).images.empty() ? -1 : layout.page(page).images.front().image;
    }
};

} // namespace

TEST(PrintBarcodesTest, ListBarcodesTakeThePageTheyLandOn) {
    ThreeSheets s;
    EXPECT_TRUE(QDir(s.dir.path()).entryList({u"*.bmp"_s}, QDir::Files).isEmpty());
    DocumentLayout layout(s.doc);
    ASSERT_EQ(layout.pageCount(), 3);
    ASSERT_TRUE(s.barcodes.numberByPage(layout).ok());
    const QStringList expected = {kHeader + u"P001N|GARC&IA|F"_s, kHeader + u"V0020001  123F"_s,
                                  kHeader + u"R003000145678F"_s};
    EXPECT_EQ(s.barcodes.texts(), expected);
    const Status verified = s.barcodes.verify(layout);
    EXPECT_TRUE(verified.ok()) << verified.error().description.toStdString();
}

// A list barcode whose page cannot be its own: rows of the sheet before on it, or a number past
// the three digits of its page field.
TEST(PrintBarcodesTest, AListBarcodeThatCannotTakeItsPageStopsThePrint) {
    for (const int pagesAfter : {1, 997}) {
        SCOPED_TRACE(pagesAfter);
        ThreeSheets s;
        DocumentBuilder b(s.doc);
        for (int page = 0; page < pagesAfter; ++page)
            b.pageBreak();
        if (pagesAfter == 1)
            b.table({3000, 3000}, 80);
        s.insert(b.paragraph(u"Más"_s), BarcodeKind::Resultas, u"000145678"_s, 900);
        DocumentLayout layout(s.doc);
        const Status numbered = s.barcodes.numberByPage(layout);
        ASSERT_FALSE(numbered.ok());
        EXPECT_TRUE(numbered.error().description.startsWith(
            pagesAfter == 1
                ? u"Las filas de la página 4 no caben en ella junto a su código de barras."_s
                : u"La página 1000 de la solicitud no cabe en su código de barras, que lleva el "
                  u"número de página en 3 cifras: la solicitud puede tener como mucho 999 páginas."_s))
            << numbered.error().description.toStdString();
    }
}

TEST(PrintBarcodesTest, AWrongOrUnreadableSymbolOnThePageStopsWithThePageNamed) {
    ThreeSheets s;
    DocumentLayout layout(s.doc);
    ASSERT_TRUE(s.barcodes.numberByPage(layout).ok());
    const QString advice =
        QStringLiteral(" La solicitud no se ha impreso; vuelva a intentarlo y, si el problema "
                       "continúa, comuníquelo al servicio que gestiona el concurso.");

    // The resultas page showing the vacancy page's symbol.
    const QImage vacancyPicture = layout.image(ThreeSheets::pictureOn(layout, 1));
    const int resultasPicture = ThreeSheets::pictureOn(layout, 2);
    layout.replaceImage(resultasPicture, vacancyPicture);
    Status verified = s.barcodes.verify(layout);
    ASSERT_FALSE(verified.ok());
    EXPECT_EQ(verified.error().description,
              u"El código de barras de la página 3 no contiene los datos que debe llevar."_s + advice);

    // A symbol damaged beyond what error correction mends.
    QImage damaged = vacancyPicture.convertToFormat(QImage::Format_RGB32);
    damaged.fill(Qt::white);
    layout.replaceImage(resultasPicture, damaged);
    verified = s.barcodes.verify(layout);
    ASSERT_FALSE(verified.ok());
    EXPECT_EQ(verified.error().description,
              u"El código de barras de la página 3 no se puede leer tal como se imprimiría."_s + advice);
}

// Texts the symbol cannot hold, and list pages past the three digits of their page field.
TEST(PrintBarcodesTest, BarcodesThatCannotCarryTheirTextAreRefused) {
    ThreeSheets s;
    DocumentBuilder b(s.doc);
    Cursor& at = b.paragraph(u"Más resultas"_s);
    for (const auto& [kind, page, data, height, why] :
         {std::tuple(BarcodeKind::FirstPage, 2, QString(4000, u'x'), qint16(2000),
                     ErrorCode::InvalidProcedureCall),
          std::tuple(BarcodeKind::Vacancies, 2, u"0001"_s + QString(100000, u'9'), qint16(900),
                     ErrorCode::InvalidProcedureCall),
          std::tuple(BarcodeKind::Vacancies, 1000, u"0001  123"_s, qint16(900), ErrorCode::Overflow)}) {
        const Status inserted = s.barcodes.insert(at, kind, page, data, height);
        ASSERT_FALSE(inserted.ok());
        EXPECT_EQ(inserted.error().number, why) << char(kind) << page;
    }
    EXPECT_EQ(s.barcodes.count(), 3);
    EXPECT_TRUE(QDir(s.dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(DocumentLayout(s.doc).page(2).images.size(), 1u);
}
