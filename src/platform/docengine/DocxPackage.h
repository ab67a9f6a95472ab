#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

namespace velmora::docengine {

// The parts of an Open Packaging Conventions ZIP file, held in memory by part name
// ("word/document.xml", "[Content_Types].xml", ...).
class DocxPackage {
public:
    static Result<DocxPackage> fromFile(const QString& path);
    static Result<DocxPackage> fromBytes(const QByteArray& bytes);

    // The package as ZIP bytes: content types first, then the package relationships, then
    // the other parts in name order.
    Result<QByteArray> toBytes() const;
    // Writes the package atomically (temporary file, then rename).
    Status writeFile(const QString& path) const;

    bool has(const QString& name) const { return m_parts.count(name) > 0; }
    QByteArray part(const QString& name) const;
    void setPart(const QString& name, QByteArray bytes) { m_parts[name] = std::move(bytes); }
    void removePart(const QString& name) { m_parts.erase(name); }
    QStringList partNames() const;

    // Part name that `target` (a relationship target of `sourcePart`) designates.
    static QString resolveTarget(const QString& sourcePart, const QString& target);
    // Relationships part of a part: "word/document.xml" -> "word/_rels/document.xml.rels".
    static QString relsPartOf(const QString& partName);

private:
    std::map<QString, QByteArray> m_parts;
};

} // namespace velmora::docengine
