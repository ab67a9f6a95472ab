#include "office/OfficeCsvExport.h"

#include "office/PrintRecordFields.h"
#include "platform/data/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace velmora {
namespace {

QString csvField(const QString& field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csvBytes(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The results are one set: an incidence list beside the applications of another run, or a
// lecturas.csv cut short, would make the office (and a later merge) lose applications
// without a word. So every file is first written whole beside its old version, each byte
// checked, and only then are they renamed over the old ones; a failed write (a full disk)
// leaves the old results as they were.
Status writeFileSet(const QDir& dir, const std::vector<std::pair<QString, QByteArray>>& files) {
    for (const auto& [name, bytes] : files) {
        const QString target = dir.filePath(name);
        if (isLink(target))
            return Error::make(ErrorCode::FileAccess,
                               QStringLiteral("No se escribe %1: es un enlace a otro fichero, y el programa "
                                              "no escribe a través de enlaces.")
                                   .arg(native(target)));
        VELMORA_TRY(checkReplaceable(target));
    }
    QStringList fresh;
    const auto failed = [&](const Error& cause, qsizetype renamed) {
        for (qsizetype i = renamed; i < fresh.size(); ++i)
            QFile::remove(fresh[i]);
        const QString kept =
            renamed == 0 ? QStringLiteral("Los resultados anteriores de la carpeta siguen como estaban.")
                         : QStringLiteral("Los resultados de la carpeta han quedado a medias: vuelva a "
                                          "escribirlos.");
        return Error::make(cause.number, cause.description + QStringLiteral(". ") + kept);
    };
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(name + QStringLiteral(".nuevo"));
        // What a run stopped half-way may have left.
        if (isLink(path) || QFileInfo(path).isFile())
            QFile::remove(path);
        if (Status written = writeNewFile(path, bytes); !written)
            return failed(written.error(), 0);
        fresh << path;
    }
    for (qsizetype i = 0; i < fresh.size(); ++i)
        if (Status renamed = replaceFile(fresh[i], dir.filePath(files[size_t(i)].first)); !renamed)
            return failed(renamed.error(), i);
    return {};
}

void addPositions(QStringList& lines, const OfficeApplication& a,
                  const std::vector<RequestedPosition>& rows) {
    for (const RequestedPosition& row : rows)
        lines << csvLine({a.id, QString::number(row.order), row.code});
}

namespace scan {
const QString kText = QStringLiteral("Código");
const QString kNone = QStringLiteral("Sin código");
const QString kBadPage = QStringLiteral("Página ilegible");
const QString kBadFile = QStringLiteral("Archivo ilegible");
const QString kCancelled = QStringLiteral("Lectura interrumpida");
// A signed file's signature: its text holds the signer's NIF and name, the signing time
// (ISO, UTC) and then each problem's name and detail, as one CSV line of its own.
const QString kSignature = QStringLiteral("Firma");
} // namespace scan

const QStringList kScanHeader{QStringLiteral("Lectura"), QStringLiteral("Archivo"), QStringLiteral("Pagina"),
                              QStringLiteral("Resultado"), QStringLiteral("Texto")};

QString signatureText(const SignedFileCheck& check) {
    QStringList fields{check.signerNif, check.signerName, check.signingTime.toString(Qt::ISODate)};
    for (const OfficeProblem& p : check.problems)
        fields << p.problem << p.detail;
    return csvLine(fields);
}

std::optional<SignedFileCheck> signatureOfText(const QString& file, const QString& text) {
    const std::vector<QStringList> rows = parseCsv(text);
    if (rows.size() != 1 || rows[0].size() < 3 || rows[0].size() % 2 == 0)
        return std::nullopt;
    const QStringList& f = rows[0];
    SignedFileCheck check{file, f[1], f[0], QDateTime::fromString(f[2], Qt::ISODate), {}};
    for (qsizetype i = 3; i + 1 < f.size(); i += 2)
        check.problems.push_back(OfficeProblem{file, f[i], f[i + 1]});
    return check;
}

QStringList scanLines(const OfficeReadOutcome& outcome) {
    QStringList lines{csvLine(kScanHeader)};
    int n = 0;
    for (const ScannedPage& s : outcome.scans) {
        const QStringList where{QString::number(++n), s.origin.file, QString::number(s.origin.page)};
        if (s.error)
            lines << csvLine(where +
                             QStringList{s.origin.page == 0 ? scan::kBadFile : scan::kBadPage, *s.error});
        else if (s.texts.isEmpty())
            lines << csvLine(where + QStringList{scan::kNone, QString()});
        for (const QString& text : s.texts)
            lines << csvLine(where + QStringList{scan::kText, text});
    }
    for (const SignedFileCheck& check : outcome.signedFiles)
        lines << csvLine(
            {QString::number(++n), check.file, QStringLiteral("0"), scan::kSignature, signatureText(check)});
    if (outcome.cancelled)
        lines << csvLine({QString::number(++n), QString(), QStringLiteral("0"), scan::kCancelled, QString()});
    return lines;
}

} // namespace

Result<std::vector<ScannedPage>> readScannedPages(const QString& folder, bool* cancelled,
                                                  std::vector<SignedFileCheck>* signedFiles) {
    const QString path = QDir(folder).filePath(QString::fromUtf16(kScansFile));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede leer %1: %2").arg(path, file.errorString()));
    bool cutShort = false;
    const std::vector<QStringList> rows = parseCsv(QString::fromUtf8(file.readAll()), &cutShort);
    // Every row of the file ends with its line end: a file cut short (written on a full disk,
    // copied in part) would otherwise lose the pages after the cut without a word.
    if (cutShort)
        return Error::make(ErrorCode::TypeMismatch,
                           QStringLiteral("El fichero %1 está cortado a mitad de una fila (quizá se escribió "
                                          "con el disco lleno): vuelva a leer esa parte del lote.")
                               .arg(native(path)));
    if (rows.empty() || rows.front() != kScanHeader)
        return Error::make(ErrorCode::TypeMismatch,
                           QStringLiteral("El fichero %1 no empieza con los títulos de las lecturas: está "
                                          "vacío o no es un %2.")
                               .arg(native(path), QString::fromUtf16(kScansFile)));
    std::vector<ScannedPage> pages;
    QString lastRead;
    for (size_t i = 1; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        bool numbered = false;
        const int page = row.value(2).toInt(&numbered);
        const QString& result = row.value(3);
        if (row.size() != 5 || !numbered || page < 0)
            return Error::make(
                ErrorCode::TypeMismatch,
                QStringLiteral("%1, línea %2: no es una fila de lecturas").arg(path).arg(i + 1));
        if (result == scan::kCancelled) {
            *cancelled = true;
            continue;
        }
        if (result == scan::kSignature) {
            std::optional<SignedFileCheck> check = signatureOfText(row[1], row[4]);
            if (!check)
                return Error::make(ErrorCode::TypeMismatch,
                                   QStringLiteral("%1, línea %2: firma ilegible").arg(path).arg(i + 1));
            signedFiles->push_back(std::move(*check));
            continue;
        }
        if (row[0] != lastRead || pages.empty())
            pages.push_back(ScannedPage{PageOrigin{row[1], page}, {}, std::nullopt});
        lastRead = row[0];
        if (result == scan::kText)
            pages.back().texts << row[4];
        else if (result == scan::kBadPage || result == scan::kBadFile)
            pages.back().error = row[4];
        else if (result != scan::kNone)
            return Error::make(
                ErrorCode::TypeMismatch,
                QStringLiteral("%1, línea %2: resultado desconocido «%3»").arg(path).arg(i + 1).arg(result));
    }
    return pages;
}

std::vector<QStringList> parseCsv(QStringView text, bool* cutShort) {
    if (text.startsWith(u'\uFEFF'))
        text = text.mid(1);
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        rowStarted = true;
        if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << std::exchange(field, QString());
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            row << std::exchange(field, QString());
            rows.push_back(std::exchange(row, QStringList()));
            rowStarted = false;
        } else {
            field += c;
        }
    }
    if (rowStarted) {
        row << field;
        rows.push_back(row);
    }
    if (cutShort)
        *cutShort = rowStarted;
    return rows;
}

QString csvLine(const QStringList& fields) {
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(','));
}

Status writeOfficeCsv(const OfficeReadOutcome& outcome, const QString& folder) {
    if (!QDir().mkpath(folder))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede crear la carpeta %1").arg(folder));
    const QDir dir(folder);

    QStringList header{QStringLiteral("Solicitud"), QStringLiteral("FechaImpresion"),
                       QStringLiteral("HoraImpresion")};
    for (const QString& name : printRecordFieldNames())
        header << name;
    header << QStringLiteral("Vacantes") << QStringLiteral("Resultas") << QStringLiteral("Estado")
           << QStringLiteral("RegistroPlegado") << QStringLiteral("Firma") << QStringLiteral("Firmante")
           << QStringLiteral("FechaFirma");
    QStringList applications{csvLine(header)};
    QStringList vacancies{
        csvLine({QStringLiteral("Solicitud"), QStringLiteral("Orden"), QStringLiteral("Codigo")})};
    QStringList resultas = vacancies;
    QStringList problems{csvLine(
        {QStringLiteral("Solicitud o página"), QStringLiteral("Incidencia"), QStringLiteral("Detalle")})};

    for (const OfficeApplication& a : outcome.applications) {
        QStringList row{a.id, a.printDate, a.printTime};
        for (int i = 0; i < kPrintRecordFieldCount; ++i)
            row << a.fields.value(i);
        row << QString::number(a.vacancies.size()) << QString::number(a.resultas.size()) << a.status()
            << a.foldedRecord << a.signature << a.signer << a.signingTime;
        applications << csvLine(row);
        addPositions(vacancies, a, a.vacancies);
        addPositions(resultas, a, a.resultas);
        for (const OfficeProblem& p : a.problems)
            problems << csvLine({p.where, p.problem, p.detail});
    }
    for (const OfficeProblem& p : outcome.fileProblems)
        problems << csvLine({p.where, p.problem, p.detail});
    if (outcome.cancelled)
        problems << csvLine({QString(), QStringLiteral("Lectura interrumpida"),
                             QStringLiteral("se leyeron %1 páginas antes de cancelar").arg(outcome.pages)});

    return writeFileSet(dir, {{QStringLiteral("solicitudes.csv"), csvBytes(applications)},
                              {QStringLiteral("vacantes.csv"), csvBytes(vacancies)},
                              {QStringLiteral("resultas.csv"), csvBytes(resultas)},
                              {QStringLiteral("incidencias.csv"), csvBytes(problems)},
                              {QString::fromUtf16(kScansFile), csvBytes(scanLines(outcome))}});
}

} // namespace velmora
