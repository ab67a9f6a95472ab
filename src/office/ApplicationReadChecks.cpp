#include "office/ApplicationReadChecks.h"

#include "office/ContestRules.h"
#include "office/PrintRecordFields.h"
#include "platform/DniTextBox.h"
#include "printing/PositionsPerPage.h"
#include "users/DniValidator.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace velmora {
namespace {

void report(OfficeApplication& application, const QString& problem, const QString& detail) {
    application.problems.push_back(OfficeProblem{application.id, problem, detail});
}

QString listName(bool vacancies) {
    return vacancies ? QStringLiteral("vacantes") : QStringLiteral("resultas");
}

void checkRows(OfficeApplication& application, const std::vector<RequestedPosition>& rows, bool vacancies) {
    int expected = 1;
    QHash<QString, const RequestedPosition*> seen;
    for (const RequestedPosition& row : rows) {
        if (row.order != expected)
            report(application, QStringLiteral("Orden no correlativo"),
                   QStringLiteral("%1: se esperaba el orden %2 y se lee %3 (página %4)")
                       .arg(listName(vacancies))
                       .arg(expected)
                       .arg(row.order)
                       .arg(row.page));
        expected = row.order + 1;
        if (const auto it = seen.constFind(row.code); it != seen.cend())
            report(application, QStringLiteral("Plaza repetida"),
                   QStringLiteral("%1: el código %2 está en los órdenes %3 (página %4) y %5 (página %6)")
                       .arg(listName(vacancies), row.code)
                       .arg(it.value()->order)
                       .arg(it.value()->page)
                       .arg(row.order)
                       .arg(row.page));
        else
            seen.insert(row.code, &row);
    }
}

// The DNI check works on a text box; the reader has only the text.
class DniText : public DniTextBox {
public:
    explicit DniText(QString text) : m_text(std::move(text)) {}
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    void setForeColor(const QColor&) override {}

private:
    QString m_text;
};

} // namespace

void checkListPageRun(OfficeApplication& application, const std::vector<int>& vacancyPages,
                      const std::vector<int>& resultasPages) {
    std::vector<int> pages = vacancyPages;
    pages.insert(pages.end(), resultasPages.begin(), resultasPages.end());
    if (pages.empty())
        return;
    if (!vacancyPages.empty() && !resultasPages.empty()) {
        const int lastVacancy = *std::max_element(vacancyPages.begin(), vacancyPages.end());
        const int firstResultas = *std::min_element(resultasPages.begin(), resultasPages.end());
        if (firstResultas < lastVacancy)
            report(application, QStringLiteral("Página fuera de secuencia"),
                   QStringLiteral("la página %1 de resultas va antes de la página %2 de vacantes")
                       .arg(firstResultas)
                       .arg(lastVacancy));
    }
    std::sort(pages.begin(), pages.end());
    if (pages.front() <= 1)
        report(application, QStringLiteral("Página fuera de secuencia"),
               QStringLiteral("una página de plazas lleva el número %1, que es el de la primera página")
                   .arg(pages.front()));
    for (size_t i = 1; i < pages.size(); ++i)
        if (pages[i] == pages[i - 1])
            report(application, QStringLiteral("Página repetida"),
                   QStringLiteral("la página %1 aparece en vacantes y en resultas").arg(pages[i]));

    // A list's pages follow one another, so the pages missing are the gaps between pages read
    // and, before a list's first page read that does not start at order 1, the pages its
    // earlier orders took. How many those are comes from the most rows a page read holds,
    // never fewer than the usual setting, so a missing page is never named that was not.
    int perPage = PositionsPerPage::kDefault;
    for (const auto* rows : {&application.vacancies, &application.resultas}) {
        std::map<int, int> rowsOnPage;
        for (const RequestedPosition& row : *rows)
            perPage = std::max(perPage, ++rowsOnPage[row.page]);
    }
    std::map<int, bool> missing; // page -> of the vacancy list
    const auto missingBefore = [&](const std::vector<int>& listPages,
                                   const std::vector<RequestedPosition>& rows, bool vacancies) {
        if (listPages.empty())
            return;
        const int first = *std::min_element(listPages.begin(), listPages.end());
        int firstOrder = 0;
        for (const RequestedPosition& row : rows)
            if (row.page == first && (firstOrder == 0 || row.order < firstOrder))
                firstOrder = row.order;
        const int earlierPages = firstOrder > 1 ? (firstOrder - 1 + perPage - 1) / perPage : 0;
        for (int page = std::max(2, first - earlierPages); page < first; ++page)
            missing.emplace(page, vacancies);
    };
    missingBefore(resultasPages, application.resultas, false);
    missingBefore(vacancyPages, application.vacancies, true);
    const auto isVacancyPage = [&](int page) {
        return std::find(vacancyPages.begin(), vacancyPages.end(), page) != vacancyPages.end();
    };
    for (size_t i = 1; i < pages.size(); ++i)
        for (int page = pages[i - 1] + 1; page < pages[i]; ++page)
            missing.emplace(page, isVacancyPage(pages[i - 1])); // a gap ends the earlier list
    for (const auto& [page, vacancies] : missing)
        if (!std::binary_search(pages.begin(), pages.end(), page))
            report(
                application, QStringLiteral("Falta una página"),
                QStringLiteral("falta la página %1, de la lista de %2").arg(page).arg(listName(vacancies)));
}

void checkListRows(OfficeApplication& application) {
    checkRows(application, application.vacancies, true);
    checkRows(application, application.resultas, false);
}

void checkRequiredData(OfficeApplication& application) {
    if (application.vacancies.empty() && application.resultas.empty())
        report(application, QStringLiteral("Sin plazas"),
               QStringLiteral("no se ha leído ninguna página de vacantes ni de resultas"));
    if (!application.hasFirstPage)
        return;
    const std::pair<int, QString> required[] = {
        {record::Name, QStringLiteral("nombre")},
        {record::Surname1, QStringLiteral("primer apellido")},
        {record::BirthDate, QStringLiteral("fecha de nacimiento")},
        {record::Dni, QStringLiteral("DNI")},
        {record::Body, QStringLiteral("cuerpo")},
        {record::Group, QStringLiteral("grupo")},
    };
    for (const auto& [position, name] : required)
        if (application.fields.value(position - 1).trimmed().isEmpty())
            report(application, QStringLiteral("Falta un dato obligatorio"),
                   QStringLiteral("%1 (página 1)").arg(name));
}

bool dniLetterIsRight(const QString& dni) {
    DniText box(dni);
    return ValidaDNI(box).ok();
}

void checkAgainstContest(OfficeApplication& application, const ContestRules& contest) {
    if (!dniLetterIsRight(application.dni))
        report(application, QStringLiteral("DNI no válido"),
               QStringLiteral("la letra no corresponde al número: %1").arg(application.dni));
    const bool bodyKnown = contest.knowsBody(application.body);
    if (!bodyKnown)
        report(application, QStringLiteral("Cuerpo desconocido"),
               QStringLiteral("el cuerpo %1 no es de este concurso").arg(application.body));
    if (!contest.knowsGroup(application.group))
        report(application, QStringLiteral("Grupo desconocido"),
               QStringLiteral("el grupo %1 no es de este concurso").arg(application.group));
    if (!bodyKnown)
        return; // every position would be reported too
    const auto checkList = [&](const std::vector<RequestedPosition>& rows, bool vacancies) {
        for (const RequestedPosition& row : rows) {
            const bool offered = vacancies ? contest.offersVacancy(application.body, row.code)
                                           : contest.offersResultas(application.body, row.code);
            if (!offered)
                report(application, QStringLiteral("Plaza no ofertada al cuerpo"),
                       QStringLiteral("%1: código %2 (orden %3, página %4)")
                           .arg(listName(vacancies), row.code)
                           .arg(row.order)
                           .arg(row.page));
        }
    };
    checkList(application.vacancies, true);
    checkList(application.resultas, false);
}

} // namespace velmora
