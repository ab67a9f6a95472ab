#pragma once

// Looks at PDF files through poppler-utils (pdfinfo, pdftotext, pdftoppm), independently of the
// code that wrote them.

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

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
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// Pages reported by pdfinfo, or -1 when it cannot read the file (or complains about it).
inline int pdfPageCount(const QString& pdf, QString* complaints = nullptr) {
    const ToolRun r = runTool(QStringLiteral("pdfinfo"), {pdf});
    if (complaints)
        *complaints = QString::fromUtf8(r.err);
    if (r.exitCode != 0)
        return -1;
    const auto m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(r.out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Text of one page (1-based) with its layout kept.
inline QString pdfPageText(const QString& pdf, int page) {
    const ToolRun r = runTool(QStringLiteral("pdftotext"),
                              {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                               QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    return QString::fromUtf8(r.out);
}

// A region of a page rendered at `dpi` (grey levels), region given in pixels at that dpi.
inline QImage pdfRender(const QString& pdf, int page, int dpi, const QRect& region = {},
                        bool antialias = true) {
    QStringList args{QStringLiteral("-png"), QStringLiteral("-gray"), QStringLiteral("-r"),
                     QString::number(dpi),   QStringLiteral("-f"),    QString::number(page),
                     QStringLiteral("-l"),   QString::number(page),   QStringLiteral("-singlefile")};
    if (!antialias)
        args << QStringLiteral("-aa") << QStringLiteral("no") << QStringLiteral("-aaVector")
             << QStringLiteral("no");
    if (!region.isNull())
        args << QStringLiteral("-x") << QString::number(region.x()) << QStringLiteral("-y")
             << QString::number(region.y()) << QStringLiteral("-W") << QString::number(region.width())
             << QStringLiteral("-H") << QString::number(region.height());
    args << pdf;
    const ToolRun r = runTool(QStringLiteral("pdftoppm"), args);
    return QImage::fromData(r.out, "PNG");
}

} // namespace velmora::test
