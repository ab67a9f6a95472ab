#pragma once

#include <QString>

namespace velmora {

class ApplicationModel;

namespace docengine {
class Document;
}

// The line that names the applicant on every page after the first, so that a sheet
// separated from the others is never anonymous: NIF, surnames and name, body and group;
// the page's "Página N de M" follows it on paper.
QString runningLineText(const ApplicationModel& model);

// Writes the running line and the page number into the footer of the pages after the
// first (templates give the first page a footer of its own).
void writeRunningLine(docengine::Document& document, const ApplicationModel& model);

} // namespace velmora
