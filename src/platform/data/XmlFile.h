#pragma once

#include "platform/Result.h"

#include <QString>

#include <pugixml.hpp>

#include <string>

namespace velmora {

// Text made only of blanks is kept as it stands: a value of a few spaces is a value.
inline constexpr unsigned kXmlReadOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

// How a document's bytes were encoded, so that a writer can save it back the same way.
struct XmlEncoding {
    pugi::xml_encoding encoding = pugi::encoding_utf8;
    bool byteOrderMark = false;
};

struct XmlRead {
    pugi::xml_parse_result result;
    XmlEncoding encoding;
    // The bytes were not what they declared (or, undeclared, not UTF-8) and were read as
    // Windows-1252, the way they were most likely written.
    bool encodingGuessed = false;
};

// The one rule by which every XML file of the program is read: a byte-order mark decides
// first (UTF-8, UTF-16 or UTF-32); without one, a declaration naming a single-byte Western
// encoding (iso-8859-1, latin1, windows-1252...) is read as Windows-1252, a UTF-16 or UTF-32
// document is recognised by its first characters, and anything else is UTF-8 - unless its
// bytes are not valid UTF-8: such a file was written in a Windows code page whatever it
// says, and is read as Windows-1252 (encodingGuessed) rather than with its letters lost.
XmlRead readXml(const QByteArray& bytes, pugi::xml_document& doc, unsigned options = kXmlReadOptions);

// readXml with the default options; a document that does not parse is left empty.
Status parseXml(const QByteArray& bytes, pugi::xml_document& doc);
Status loadXmlFile(const QString& path, pugi::xml_document& doc);

// The node that a path of the program selects (positions counted from 0), or an error
// when it selects nothing: reading a value from a missing node is an error for callers.
Result<pugi::xpath_node> selectNode(const pugi::xml_node& from, const QString& zeroBasedPath);
// The text of the node a path selects: an attribute's value or an element's text content.
Result<QString> selectText(const pugi::xml_node& from, const QString& zeroBasedPath);

QString textContent(const pugi::xml_node& node);
// Appends the node's text (its own, or all of its descendants' in document order) as UTF-8.
// Safe on any nesting depth.
void appendTextContent(const pugi::xml_node& node, std::string& out);

} // namespace velmora
