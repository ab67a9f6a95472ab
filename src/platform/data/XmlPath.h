#pragma once

#include <QString>

namespace velmora {

// The program writes its node paths the way its original document model read them:
// positions inside "[...]" count from 0 ("//Tab[0]/NombreTab" is the first Tab).
// XPath 1.0 counts from 1. This is the one place where the two meet.
QString toXPath(const QString& zeroBasedPath);

} // namespace velmora
