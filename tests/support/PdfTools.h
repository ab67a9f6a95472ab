#pragma once

// Looks at PDF files through poppler-utils (pdfinfo, pdftotext, pdftoppm), independently of the
// code that wrote them.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace velmora::test {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QString& program, const QStringList& args, int timeoutMs = 60000) {
    ToolRun r;
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline bool havePoppler() {
    return !QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty();
}

// Pages reported by pdfinfo, or -1 when it cannot read the file (or complains about it).
inline int pdfPageCount(const QString& pdf, QString* complaints = nullptr) {
    const ToolRun r = runTool(u"pdfinfo"_s, {pdf});
    if (complaints)
        *complaints = QString::fromUtf8(r.err);
    if (r.exitCode != 0)
        return -1;
    const auto m = QRegularExpression(u"^Pages:\\s+(\\d+)"_s, QRegularExpression::MultilineOption)
                       .match(QString::fromUtf8(r.out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Text of one page (1-based) with its layout kept.
inline QString pdfPageText(const QString& pdf, int page) {
    const ToolRun r = runTool(u"pdftotext"_s, {u"-layout"_s, u"-f"_s, QString::number(page), u"-l"_s,
                                               QString::number(page), pdf, u"-"_s});
    return QString::fromUtf8(r.out);
}

// A region of a page rendered at `dpi` (grey levels), region given in pixels at that dpi.
inline QImage pdfRender(const QString& pdf, int page, int dpi, const QRect& region = {}) {
    QStringList args{u"-png"_s,       u"-gray"_s,
                     u"-r"_s,         QString::number(dpi),
                     u"-f"_s,         QString::number(page),
                     u"-l"_s,         QString::number(page),
                     u"-singlefile"_s};
    if (!region.isNull())
        args << u"-x"_s << QString::number(region.x()) << u"-y"_s << QString::number(region.y()) << u"-W"_s
             << QString::number(region.width()) << u"-H"_s << QString::number(region.height());
    args << pdf;
    const ToolRun r = runTool(u"pdftoppm"_s, args);
    return QImage::fromData(r.out, "PNG");
}

// A one-page PDF whose only content stream is `stream`, stored as given (declared `filter`).
inline QByteArray onePagePdf(const QByteArray& stream, const QByteArray& filter = {}, int widthPt = 595,
                             int heightPt = 842) {
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        QByteArray("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ") + QByteArray::number(widthPt) + ' ' +
            QByteArray::number(heightPt) + "] /Contents 4 0 R >>",
        "<< " + filter + " /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream +
            "\nendstream"};
    QByteArray out = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 5\n0000000000 65535 f \n";
    for (qsizetype o : offsets)
        out += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

} // namespace velmora::test
