#include "platform/widgets/SpanishTranslation.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::installSpanishTranslation(app);
    return 0;
}
