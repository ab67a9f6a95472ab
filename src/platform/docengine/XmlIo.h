#pragma once

#include <QByteArray>

#include <pugixml.hpp>

namespace velmora::docengine {

// How package parts are read (parseXml of platform/data/XmlFile.h): whitespace-only text is
// kept where it is an element's only content (a text run holding one blank), dropped between
// elements; the declaration is not kept, as serializeXml writes its own.
inline constexpr unsigned kPackagePartOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;
// UTF-8 with the declaration the format's producers write, no indentation.
QByteArray serializeXml(const pugi::xml_document& doc);

} // namespace velmora::docengine
