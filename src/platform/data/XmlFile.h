#pragma once

#include "platform/Result.h"

#include <QString>

#include <pugixml.hpp>

namespace velmora {

// Parses XML bytes into `doc`. Documents that declare a single-byte Western encoding
// (iso-8859-1, latin1, windows-1252) are read as Windows-1252, the others as UTF-8.
Status parseXml(const QByteArray& bytes, pugi::xml_document& doc);
Status loadXmlFile(const QString& path, pugi::xml_document& doc);

// The node that a path of the program selects (positions counted from 0), or an error
// when it selects nothing: reading a value from a missing node is an error for callers.
Result<pugi::xpath_node> selectNode(const pugi::xml_node& from, const QString& zeroBasedPath);
// The text of the node a path selects: an attribute's value or an element's text content.
Result<QString> selectText(const pugi::xml_node& from, const QString& zeroBasedPath);

QString textContent(const pugi::xml_node& node);

} // namespace velmora
