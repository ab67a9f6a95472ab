#pragma once

#include <QString>

#include <memory>

namespace velmora {

class ContestRules;
class MessageService;

// Loads the contest of an installation folder for the office's checks. Null when it cannot,
// after telling the user why.
std::shared_ptr<const ContestRules> loadOfficeContest(const QString& folder, MessageService& messages);

} // namespace velmora
