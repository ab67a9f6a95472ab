#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {

enum class SampleScale { Small, Realistic, Large };

struct SampleSizes {
    int bodies, groups, provinces, localities, zones, areas, departments, institutions;
    int details; // rows of each position details file
    int offered; // offered vacancies, and as many offered resultas
    int links;   // position-body links, and as many position-group links
};

SampleSizes sampleSizes(SampleScale scale);
bool parseSampleScale(const QString& text, SampleScale& scale);

// Writes a complete installation of a generated contest into `folder`: conf.xml,
// usuarios.xml with an empty store, ficheros/ with the sixteen scrambled catalogues and
// FicheroTexto.txt, and ficheros/temp/. The same scale and seed give the same bytes.
// The data is Spanish-looking, with accents and ñ, zone names in code page 850, a body of
// group "X", offered codes missing from the details and details whose area is unknown.
Status writeSampleContest(const QString& folder, SampleScale scale, quint32 seed);

// Writes a plain text as a scrambled catalogue file (the inverse of decoding).
Status writeScrambledFile(const QString& path, const QList<QByteArray>& plainLines);

} // namespace velmora
