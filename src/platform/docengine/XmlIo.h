#pragma once

#include <QByteArray>

#include <pugixml.hpp>

namespace velmora::docengine {

// Parses a package part. Whitespace-only text is kept where it is an element's only content
// (a text run holding one blank), dropped between elements.
bool parseXml(pugi::xml_document& doc, const QByteArray& bytes);
// UTF-8 with the declaration the format's producers write, no indentation.
QByteArray serializeXml(const pugi::xml_document& doc);

} // namespace velmora::docengine
