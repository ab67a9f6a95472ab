// Writes the seed inputs of every fuzz target from a generated sample installation:
//
//   velmora-fuzz-seeds FOLDER
//
// gives FOLDER/<target>/..., the files the program reads in ordinary use (catalogues,
// conf.xml, usuarios.xml, a saved application's sidecar, official-form templates, filter
// texts). Nothing is committed: the seeds are rebuilt from the generator whenever needed.

#include "FuzzSupport.h"

#include "applications/ApplicationXml.h"
#include "catalog/SampleContest.h"
#include "editor/ApplicationListTables.h"
#include "editor/ApplicationModel.h"
#include "printing/BarcodeText.h"
#include "printing/PrintRecord.h"
#include "printing/TemplateLayout.h"
#include "printing/TemplateWriter.h"
#include "users/UserStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace velmora;

namespace {

// Large catalogues are cut to their first lines: the fuzzers mutate seeds many times a
// second, and what matters in a seed is the shape of its records.
constexpr qsizetype kMaxSeedBytes = 16 * 1024;

bool write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray cutAtLine(QByteArray bytes) {
    if (bytes.size() <= kMaxSeedBytes)
        return bytes;
    const qsizetype end = bytes.lastIndexOf('\n', kMaxSeedBytes);
    bytes.truncate(end > 0 ? end + 1 : kMaxSeedBytes);
    return bytes;
}

QByteArray sampleSidecar() {
    RecordSet vacancies, resultas, courses, documents;
    (void)createVacancyList(vacancies);
    (void)createResultasList(resultas);
    (void)createCoursesList(courses);
    (void)createDocumentsList(documents);
    for (RecordSet* list : {&vacancies, &resultas}) {
        for (int i = 1; i <= 2; ++i) {
            (void)list->addNew();
            (void)list->setValue(u"IdSolicitud", 0);
            (void)list->setValue(u"Orden", i);
            (void)list->setValue(u"CodConvocatoria", QStringLiteral("0000%1").arg(i));
            (void)list->setValue(u"NomConvocatoria", QStringLiteral("Enfermería ñ %1").arg(i));
            (void)list->setValue(u"Localidad", QStringLiteral("Logroño"));
            (void)list->update();
        }
    }
    (void)courses.addNew();
    (void)courses.setValue(u"Curso", QStringLiteral("Urgencias"));
    (void)courses.setValue(u"NHoras", 20);
    (void)courses.update();
    (void)documents.addNew();
    (void)documents.setValue(u"Documento", QStringLiteral("Título"));
    (void)documents.update();
    return encodeApplicationXml(buildApplicationXml({vacancies, resultas, courses, documents}));
}

// The barcode texts of a printed application, one a line, folded as the printing puts them
// in the symbols: the first page's print record, then a vacancy and a resultas page.
QByteArray sampleBarcodeTexts() {
    ApplicationModel model;
    model.setText(ctl::txtDNI, QStringLiteral("12345678Z"));
    model.setText(ctl::txtNombre, QStringLiteral("María José"));
    model.setText(ctl::txtApellido1, QStringLiteral("Muñoz"));
    model.setText(ctl::txtApellido2, QStringLiteral("Peña & Cía"));
    model.setText(ctl::txtFecNacimiento, QStringLiteral("12/03/1980"));
    model.setText(ctl::txtDomicilio, QStringLiteral("Calle Mayor 1 | 2º"));
    const QString header = barcodeHeader(
        ClaveCodigoBarras(QStringLiteral("12345678Z"), QStringLiteral("10010"), QStringLiteral("A2")),
        QDateTime(QDate(2024, 3, 5), QTime(9, 30, 15)));
    RecordSet vacancies, resultas;
    (void)createVacancyList(vacancies);
    (void)createResultasList(resultas);
    for (RecordSet* list : {&vacancies, &resultas}) {
        for (int order = 1; order <= 3; ++order) {
            (void)list->addNew();
            (void)list->setValue(u"IdSolicitud", 0);
            (void)list->setValue(u"Orden", order);
            (void)list->setValue(u"CodConvocatoria",
                                 QString::number(list == &vacancies ? 10000 + order : 7 * order));
            (void)list->update();
        }
    }
    const QStringList texts{
        barcodeText(header, BarcodeKind::FirstPage, 1, GeneraCadenaImpresion(model, RecordSet())),
        barcodeText(header, BarcodeKind::Vacancies, 3,
                    listPageBarcodeData(vacancies, 0, 3).valueOr(QString())),
        barcodeText(header, BarcodeKind::Resultas, 4,
                    listPageBarcodeData(resultas, 0, 3).valueOr(QString()))};
    QByteArray bytes;
    for (const QString& text : texts)
        bytes += foldBarcodeText(text).toLatin1() + '\n';
    return bytes;
}

const char* const kCriteria[] = {
    "ORDEN >= 3 and ORDEN <= 5",
    "CodArea='02' ",
    "Localidad = 'O''Donnell' OR Orden < 2",
    "(CodArea <> '01' AND (Orden > 1 OR Localidad='Ávila')) or [Orden] = -1",
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: velmora-fuzz-seeds CARPETA\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    const QString install = scratch.path();
    if (const Status written = writeSampleContest(install, SampleScale::Small, 1); !written.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error().description));
        return 1;
    }
    bool ok = true;
    const QDir data(QDir(install).filePath(QStringLiteral("ficheros")));
    for (size_t i = 0; i < std::size(fuzz::kCatalogueFiles); ++i) {
        const QString name = QString::fromLatin1(fuzz::kCatalogueFiles[i]);
        const QByteArray bytes = cutAtLine(read(data.filePath(name)));
        ok &= write(out.filePath(QStringLiteral("catalog_loader/") + name), char(i) + bytes);
        ok &= write(out.filePath(QStringLiteral("catalog_decoder/") + name), bytes);
    }
    ok &= write(out.filePath(QStringLiteral("conf_xml/conf.xml")), read(QDir(install).filePath("conf.xml")));

    UserStore store(install);
    ok &= store.AbreUsuarios().ok() &&
          store.AltaUsuario(QStringLiteral("12345678Z"), QStringLiteral("CLAVE")).ok() &&
          store.AltaUsuario(QStringLiteral("01234567L"), QStringLiteral("OTRA")).ok();
    ok &= write(out.filePath(QStringLiteral("usuarios_xml/usuarios.xml")), read(store.usuariosPath()));

    ok &= write(out.filePath(QStringLiteral("sidecar_xml/solicitud.xml")), sampleSidecar());

    for (size_t i = 0; i < std::size(kCriteria); ++i)
        ok &= write(out.filePath(QStringLiteral("criteria/%1.txt").arg(i)), QByteArray(kCriteria[i]));

    const QByteArray barcodes = sampleBarcodeTexts();
    ok &= write(out.filePath(QStringLiteral("office_barcode/solicitud.txt")), barcodes);
    // A print cut short and scanned out of order, and a symbol that is not ours.
    const QList<QByteArray> lines = barcodes.split('\n');
    ok &= write(out.filePath(QStringLiteral("office_barcode/desordenada.txt")),
                lines[2] + '\n' + lines[0].left(lines[0].size() / 2) + '\n' + lines[1] + '\n' + lines[1]);
    ok &= write(out.filePath(QStringLiteral("office_barcode/ajeno.txt")), "ANSI 636000090002DL00410278ZV");

    for (const TemplateGeneration generation : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
        const auto bytes = buildApplicationTemplate(TemplateKey{}, generation).toBytes();
        ok &= bytes.ok() &&
              write(out.filePath(QStringLiteral("document/") + templateFileName(generation)), *bytes);
    }
    if (!ok) {
        std::fprintf(stderr, "No se han podido escribir las semillas en %s\n", qPrintable(out.path()));
        return 1;
    }
    return 0;
}
