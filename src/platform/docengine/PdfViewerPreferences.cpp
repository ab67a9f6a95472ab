#include "platform/docengine/PdfViewerPreferences.h"

#include "platform/docengine/DocTypes.h"

#include <QRegularExpression>

namespace velmora::docengine {

namespace {

Error unsupported(const char* why) {
    return Error::make(
        DocError::Unsupported,
        QStringLiteral("No se pueden ajustar las preferencias del PDF (%1).").arg(QLatin1String(why)));
}

// Index just past the ">>" that closes the dictionary opened at `open` ("<<"), skipping strings.
qsizetype dictionaryEnd(const QByteArray& pdf, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i + 1 < pdf.size(); ++i) {
        const char c = pdf.at(i);
        if (c == '(') {
            int paren = 1;
            for (++i; i < pdf.size() && paren > 0; ++i) {
                if (pdf.at(i) == '\\')
                    ++i;
                else if (pdf.at(i) == '(')
                    ++paren;
                else if (pdf.at(i) == ')')
                    --paren;
            }
            --i;
        } else if (c == '<' && pdf.at(i + 1) == '<') {
            ++depth;
            ++i;
        } else if (c == '>' && pdf.at(i + 1) == '>') {
            --depth;
            ++i;
            if (depth == 0)
                return i + 1;
        }
    }
    return -1;
}

} // namespace

Result<QByteArray> addNoPrintScaling(const QByteArray& pdf) {
    const qsizetype sx = pdf.lastIndexOf("startxref");
    if (sx < 0)
        return unsupported("sin startxref");
    bool ok = false;
    const qint64 xrefOffset = pdf.mid(sx + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || xrefOffset <= 0 || xrefOffset >= pdf.size())
        return unsupported("startxref no válido");
    if (!pdf.mid(xrefOffset, 4).startsWith("xref"))
        return unsupported("tabla de referencias comprimida");
    const qsizetype trailerAt = pdf.indexOf("trailer", xrefOffset);
    if (trailerAt < 0 || trailerAt > sx)
        return unsupported("sin trailer");
    const qsizetype trailerOpen = pdf.indexOf("<<", trailerAt);
    const qsizetype trailerClose = trailerOpen < 0 ? -1 : dictionaryEnd(pdf, trailerOpen);
    if (trailerClose < 0)
        return unsupported("trailer no válido");
    const QString trailer = QString::fromLatin1(pdf.mid(trailerOpen, trailerClose - trailerOpen));

    const QRegularExpressionMatch root =
        QRegularExpression(QStringLiteral("/Root\\s+(\\d+)\\s+(\\d+)\\s+R")).match(trailer);
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(trailer);
    if (!root.hasMatch() || !size.hasMatch())
        return unsupported("trailer incompleto");
    const int rootNum = root.captured(1).toInt();
    const int rootGen = root.captured(2).toInt();
    const QRegularExpressionMatch info =
        QRegularExpression(QStringLiteral("/Info\\s+(\\d+\\s+\\d+\\s+R)")).match(trailer);
    const QRegularExpressionMatch id =
        QRegularExpression(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])")).match(trailer);

    // Offset of the catalog from the cross-reference table.
    qint64 catalogOffset = -1;
    {
        qsizetype pos = xrefOffset + 4;
        const QList<QByteArray> lines = pdf.mid(pos, trailerAt - pos).split('\n');
        int current = -1;
        int remaining = 0;
        for (QByteArray line : lines) {
            line = line.trimmed();
            if (line.isEmpty())
                continue;
            const QList<QByteArray> parts = line.split(' ');
            if (remaining == 0 && parts.size() == 2) {
                current = parts.at(0).toInt();
                remaining = parts.at(1).toInt();
                continue;
            }
            if (remaining > 0 && parts.size() >= 3) {
                if (current == rootNum && parts.at(2) == "n")
                    catalogOffset = parts.at(0).toLongLong();
                ++current;
                --remaining;
            }
        }
    }
    if (catalogOffset <= 0 || catalogOffset >= pdf.size())
        return unsupported("catálogo no encontrado");
    const QByteArray header = QByteArray::number(rootNum) + ' ' + QByteArray::number(rootGen) + " obj";
    if (!pdf.mid(catalogOffset, header.size() + 4).startsWith(header))
        return unsupported("catálogo no válido");
    const qsizetype open = pdf.indexOf("<<", catalogOffset);
    const qsizetype close = open < 0 ? -1 : dictionaryEnd(pdf, open);
    if (close < 0)
        return unsupported("catálogo no válido");
    const QByteArray body = pdf.mid(open + 2, close - open - 4);
    if (body.contains("/ViewerPreferences"))
        return pdf;

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    const qint64 objOffset = out.size();
    out += header + "\n<<" + body + "\n/ViewerPreferences << /PrintScaling /None >>\n>>\nendobj\n";
    const qint64 newXref = out.size();
    out += "xref\n" + QByteArray::number(rootNum) + " 1\n";
    out += QByteArray::number(objOffset).rightJustified(10, '0') + ' ' +
           QByteArray::number(rootGen).rightJustified(5, '0') + " n \n";
    out += "trailer\n<<\n/Size " + size.captured(1).toLatin1() + "\n/Root " + QByteArray::number(rootNum) +
           ' ' + QByteArray::number(rootGen) + " R\n";
    if (info.hasMatch())
        out += "/Info " + info.captured(1).toLatin1() + '\n';
    if (id.hasMatch())
        out += "/ID " + id.captured(1).toLatin1() + '\n';
    out += "/Prev " + QByteArray::number(xrefOffset) + "\n>>\nstartxref\n" + QByteArray::number(newXref) +
           "\n%%EOF\n";
    return out;
}

} // namespace velmora::docengine
