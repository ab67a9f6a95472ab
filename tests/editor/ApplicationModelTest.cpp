#include "editor/ApplicationModel.h"

#include <QSet>

#include <gtest/gtest.h>

namespace velmora {
namespace {

ControlKind kindFromPrefix(const QString& name) {
    if (name.startsWith("txt"))
        return ControlKind::TextBox;
    if (name.startsWith("cbo"))
        return ControlKind::DropDown;
    return ControlKind::OptionButton;
}

TEST(ApplicationModel, EveryDocumentFieldIsFoundByNameAndByItsOwnTag) {
    const ApplicationModel model;
    QSet<QString> tags;
    for (const FormControl* c : model.taggedControls()) {
        EXPECT_EQ(model.find(c->name), c) << c->name.toStdString();
        EXPECT_EQ(model.findByTag(c->tag), c) << c->tag.toStdString();
        EXPECT_EQ(c->kind, kindFromPrefix(c->name)) << c->name.toStdString();
        tags.insert(c->tag.toUpper());
    }
    EXPECT_EQ(tags.size(), qsizetype(model.taggedControls().size())) << "two controls share a field";
    for (const char* untagged : {"cboSituaciones", "OptSi", "OptNo"}) {
        ASSERT_TRUE(model.has(QString::fromLatin1(untagged))) << untagged;
        EXPECT_TRUE(model.find(QString::fromLatin1(untagged))->tag.isEmpty()) << untagged;
    }
}

} // namespace
} // namespace velmora
