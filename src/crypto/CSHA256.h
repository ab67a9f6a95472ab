#pragma once

#include <QString>

namespace velmora {

// SHA-256 of a text, as the user store keeps DNIs and passwords.
// Each character contributes one byte, the low 8 bits of its UTF-16 code, so texts in
// ISO Latin 1 hash as their Latin 1 bytes and anything above U+00FF loses its high byte.
class CSHA256 {
public:
    // The digest as 64 lower-case hexadecimal characters.
    QString SHA256(const QString& message) const;
};

} // namespace velmora
