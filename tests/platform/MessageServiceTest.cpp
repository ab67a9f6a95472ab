#include "platform/MessageService.h"
#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

using namespace velmora;

// What went wrong on the way is told once, first, however the failure itself is told.
TEST(MessageService, AFailureToldBeforeAnotherIsToldOnceFirst) {
    const Error earlier = Error::told(ErrorCode::BadXml, u"Fichero dañado"_s, u"Catálogo"_s);
    const struct {
        const char* name;
        Error failure;
        QString last;
    } cases[] = {
        {"numbered", Error::make(ErrorCode::FileAccess, u"Error de acceso"_s).after(earlier),
         u"Se ha producido el siguiente error 75-Error de acceso"_s},
        {"in its own words",
         Error::told(ErrorCode::FileAccess, u"Sin cuerpos"_s, u"Velmora"_s).after(earlier), u"Sin cuerpos"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeMessageService shown;
        shown.tell(c.failure);
        EXPECT_EQ(shown.texts(), (QStringList{u"Fichero dañado"_s, c.last}));
    }
}
