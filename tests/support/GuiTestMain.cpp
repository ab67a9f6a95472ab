#include "platform/HeadlessEnvironment.h"
#include "platform/widgets/SpanishTranslation.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    velmora::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    velmora::installSpanishTranslation(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
