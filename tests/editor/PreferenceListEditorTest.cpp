#include "editor/PreferenceListEditor.h"

#include "support/FakeMessageService.h"
#include "support/PreferenceListFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

using test::codesByOrder;
using test::FakeMessageService;
using test::isWellKept;
using test::listedText;
using test::listedTexts;
using test::PreferenceTables;

PositionChoice chosen(const QString& code, const QString& area = QString(), const QString& zone = QString()) {
    return PositionChoice{true, code, "Puesto " + code, "Hospital", "Localidad", area, zone};
}

qint64 rowIdOf(const RecordSet& list, const QString& code) {
    auto copy = list.clone();
    EXPECT_TRUE(copy->find(u"CodConvocatoria='%1'"_s.arg(code)));
    return copy->currentRowId();
}

void expectOnlyMessage(const FakeMessageService& messages, const QString& text, const QString& title) {
    EXPECT_EQ(messages.only(title, MessageIcon::Exclamation), text);
}

TEST(PreferenceListEditorAdd, FirstRowGetsOrder1AndId0WithItsNames) {
    PreferenceTables t;
    t.addArea("A1", "Área Norte");
    t.addZone("Z7", "Zona Sur");
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");
    FakeMessageService messages;
    AreaZoneNames names(t.areas, t.zones);
    EXPECT_EQ(*editor.add(chosen("10", "A1", "Z7"), "5", "Demarcación 3", names, messages),
              PreferenceListEditor::ChoiceCheck::Valid);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(listedTexts(t.list, {"10:Orden", "10:IdSolicitud", "10:NomConvocatoria", "10:Area", "10:Zona",
                                   "10:Demarcacion"}),
              QStringList({"1", "0", "Puesto 10", "Área Norte", "Zona Sur", "Demarcación 3"}));

    // Inserted at order 1: the list shows it first, the rows after it move down.
    EXPECT_EQ(*editor.add(chosen("20", "A9"), "1", "", names, messages),
              PreferenceListEditor::ChoiceCheck::Valid);
    // An area the catalogue lacks has no name.
    EXPECT_EQ(listedTexts(t.list, {"20:Area", "20:IdSolicitud"}), QStringList({"", "1"}));
    EXPECT_EQ(t.list.textAt(0, t.list.columnIndex(u"CodConvocatoria")), "20");
    EXPECT_TRUE(isWellKept(t.list));
}

TEST(PreferenceListEditorAdd, RefusesAChoiceNotInTheListOrListedAlready) {
    PreferenceTables t;
    t.listCodes(2);
    AreaZoneNames names(t.areas, t.zones);
    PreferenceListEditor editor(t.list, "Solicitud Resultas");
    PositionChoice typed = chosen("99");
    typed.isListItem = false;
    // An empty text matches a nameless row, so it passes for a list item.
    const std::tuple<PositionChoice, PreferenceListEditor::ChoiceCheck, const char*> cases[] = {
        {typed, PreferenceListEditor::ChoiceCheck::NotAnItem, "El puesto elegido no es válido"},
        {chosen(""), PreferenceListEditor::ChoiceCheck::NotAnItem, "El puesto elegido no es válido"},
        {chosen("2"), PreferenceListEditor::ChoiceCheck::AlreadyListed,
         "Este puesto ya ha sido agregado a la solicitud"}};
    for (const auto& [choice, check, message] : cases) {
        FakeMessageService messages;
        EXPECT_EQ(*editor.add(choice, "1", "", names, messages), check) << message;
        expectOnlyMessage(messages, QString::fromUtf8(message), u"Solicitud Resultas"_s);
    }
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "2"}));
}

TEST(PreferenceListEditorModify, LoadsTheRowAndChangesItsDemarcation) {
    PreferenceTables t;
    t.listCodes(6);
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");
    FakeMessageService messages;

    const auto loaded = editor.beginModify(rowIdOf(t.list, "4"));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->order == 4 && loaded->id == 3);
    EXPECT_EQ(editor.mode(), PanelMode::Modifying);
    EXPECT_EQ(editor.modify("3", "2", QString("D"), messages)->order, 2);
    EXPECT_EQ(editor.mode(), PanelMode::Adding);

    // The same order changes only the demarcation; resultas rows keep theirs. Where other
    // orders move is the randomized test's.
    ASSERT_TRUE(editor.beginModify(rowIdOf(t.list, "5")));
    EXPECT_TRUE(editor.modify("4", "5", QString("Nueva"), messages)->done);
    EXPECT_EQ(listedText(t.list, "5", u"Demarcacion"), "Nueva");
    ASSERT_TRUE(editor.beginModify(rowIdOf(t.list, "5")));
    EXPECT_TRUE(editor.modify("4", "5", std::nullopt, messages)->done);
    EXPECT_EQ(listedText(t.list, "5", u"Demarcacion"), "Nueva");
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "4", "2", "3", "5", "6"}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(PreferenceListEditorModify, AnEmptyOrderBoxChangesNothing) {
    PreferenceTables t;
    t.listCodes(3);
    PreferenceListEditor editor(t.list, "Solicitud Resultas");
    ASSERT_TRUE(editor.beginModify(rowIdOf(t.list, "2")));
    for (const char* noOrder : {"", "-", "0"}) {
        FakeMessageService messages;
        EXPECT_FALSE(editor.modify("1", noOrder, std::nullopt, messages)->done);
        expectOnlyMessage(messages, "Debe asignar un orden a esta plaza", "Error");
        EXPECT_EQ(editor.mode(), PanelMode::Modifying);
    }
    FakeMessageService messages;
    EXPECT_FALSE(editor.modify("77", "1", std::nullopt, messages).ok()); // a row no longer listed
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "2", "3"}));
    EXPECT_TRUE(isWellKept(t.list));
}

TEST(PreferenceListEditorDelete, AsksAndKeepsTheOrdersContiguous) {
    PreferenceTables t;
    t.listCodes(4);
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");
    FakeMessageService messages;
    messages.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(*editor.confirmAndDelete(rowIdOf(t.list, "2"), messages));
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "2", "3", "4"}));
    EXPECT_TRUE(*editor.confirmAndDelete(rowIdOf(t.list, "2"), messages));
    EXPECT_EQ(codesByOrder(t.list), QStringList({"1", "3", "4"}));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1],
              (FakeMessageService::Message{u"¿Desea borrar la fila seleccionada?"_s, u"Solicitudes"_s,
                                           MessageIcon::Exclamation, MessageButtons::YesNo}));
}

// A plain model of the list: position codes in preference order.
struct ModelList {
    QStringList codes;

    void add(const QString& code, const QString& orderText) {
        const auto order = orderOfText(orderText);
        codes.insert(order && *order <= codes.size() ? *order - 1 : codes.size(), code);
    }
    void move(int from, int toOrder) { codes.move(from, std::min<int>(toOrder, codes.size()) - 1); }
};

TEST(PreferenceListEditorRandomized, EveryOperationKeepsOrders1ToNAndTheChosenPlaces) {
    PreferenceTables t;
    for (int code = 0; code < 150; ++code)
        t.addCandidate(u"%1"_s.arg(code, 5, 10, QLatin1Char('0')));
    t.sortCandidates();
    PreferenceListEditor editor(t.list, "Solicitud Vacantes");
    FakeMessageService messages;
    ModelList model;
    std::mt19937 random(20240611);
    const auto below = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
    const auto orderText = [&]() {
        const char* odd[] = {"", "0", "-", "32001", "2,5"};
        return below(4) == 0 ? QString::fromLatin1(odd[below(5)])
                             : QString::number(1 + below(model.codes.size() + 3));
    };

    for (int step = 0; step < 3000; ++step) {
        const int n = int(model.codes.size());
        const int operation = below(10);
        if (operation < 4) { // add
            const QString code = t.candidates.textAt(below(150), 0);
            PositionChoice choice = chosen(code);
            choice.isListItem = below(10) != 0;
            const QString order = orderText();
            AreaZoneNames names(t.areas, t.zones);
            ASSERT_TRUE(editor.add(choice, order, "", names, messages).ok());
            if (choice.isListItem && !model.codes.contains(code))
                model.add(code, order);
        } else if (operation < 6 && n > 0) { // modify
            const int from = below(n);
            const auto loaded = editor.beginModify(rowIdOf(t.list, model.codes[from]));
            ASSERT_TRUE(loaded);
            ASSERT_EQ(loaded->order, from + 1);
            const QString order = orderText();
            const auto modified = editor.modify(QString::number(loaded->id), order, QString(), messages);
            ASSERT_TRUE(modified.ok());
            if (modified->done)
                model.move(from, *orderOfText(order));
            editor.setMode(PanelMode::Adding); // "Cancelar" after a refused order
        } else if (operation < 9 && n > 0) {   // delete
            const int at = below(n);
            const bool yes = below(8) != 0;
            messages.queueAnswer(yes ? MessageAnswer::Yes : MessageAnswer::No);
            ASSERT_EQ(*editor.confirmAndDelete(rowIdOf(t.list, model.codes[at]), messages), yes);
            if (yes)
                model.codes.removeAt(at);
        } else { // insert every candidate of a few codes
            const int first = below(150);
            ASSERT_TRUE(t.candidates.setFilter(
                u"CodConvocatoria >= '%1' and CodConvocatoria < '%2'"_s.arg(first, 5, 10, QLatin1Char('0'))
                    .arg(first + 1 + below(8), 5, 10, QLatin1Char('0'))));
            AreaZoneNames names(t.areas, t.zones);
            ASSERT_TRUE(editor.insertAll(t.candidates, names).ok());
            for (int i = 0; i < t.candidates.recordCount(); ++i)
                if (!model.codes.contains(t.candidates.textAt(i, 0)))
                    model.codes << t.candidates.textAt(i, 0);
            t.candidates.clearFilter();
        }
        ASSERT_TRUE(isWellKept(t.list)) << "after step " << step << " (operation " << operation << ")";
        ASSERT_EQ(codesByOrder(t.list), model.codes)
            << "after step " << step << " (operation " << operation << ")";
    }
}

} // namespace
} // namespace velmora
