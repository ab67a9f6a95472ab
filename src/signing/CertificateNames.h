#pragma once

// Reading a certificate's names through NSS, for this library's own sources (the header
// brings NSS's).

#include <QString>

#include <cert.h>

namespace velmora {

// The first value of the attribute `tag` in `name`, decoded; empty when it has none.
QString nameAttribute(const CERTName& name, SECOidTag tag);

// The holder's NIF: the subject's serialNumber, as nifFromSerialNumber reads it.
QString holderNif(const CERTCertificate& cert);

} // namespace velmora
