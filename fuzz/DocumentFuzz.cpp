// The document reader: opening a package from bytes, then what printing and the tools ask of
// it (fields, bookmarks, tables, text) and its layout.

#include "FuzzSupport.h"

#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"

using namespace velmora;
using namespace velmora::docengine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureGuiApplication();
    auto opened = Document::fromBytes(fuzz::bytesOf(data, size));
    if (!opened.ok())
        return 0;
    Document& doc = opened.value();
    (void)doc.plainText();
    for (const QString& name : doc.formFieldNames())
        (void)doc.fieldResult(name);
    for (const QString& name : doc.bookmarkNames())
        (void)doc.bookmarkText(name);
    for (int t = 1; t <= doc.tableCount(); ++t)
        (void)doc.table(t);
    const DocumentLayout layout(doc);
    if (layout.pageCount() > 0)
        (void)layout.pageText(0);
    (void)doc.toBytes();
    return 0;
}
