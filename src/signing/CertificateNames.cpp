#include "signing/CertificateNames.h"

#include "signing/SigningCertificate.h"

namespace velmora {

QString nameAttribute(const CERTName& name, SECOidTag tag) {
    for (CERTRDN** rdn = name.rdns; rdn && *rdn; ++rdn)
        for (CERTAVA** ava = (*rdn)->avas; ava && *ava; ++ava) {
            if (CERT_GetAVATag(*ava) != tag)
                continue;
            SECItem* decoded = CERT_DecodeAVAValue(&(*ava)->value);
            if (!decoded)
                continue;
            const QString value =
                QString::fromUtf8(reinterpret_cast<const char*>(decoded->data), qsizetype(decoded->len));
            SECITEM_FreeItem(decoded, PR_TRUE);
            return value;
        }
    return {};
}

QString holderNif(const CERTCertificate& cert) {
    return nifFromSerialNumber(nameAttribute(cert.subject, SEC_OID_AVA_SERIAL_NUMBER));
}

} // namespace velmora
