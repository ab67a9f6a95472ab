#pragma once

#include <QSet>
#include <QString>

namespace velmora {

struct CatalogTables;

// What a contest's installation knows about the bodies, groups and positions an
// application may name. The reader checks applications against it when one is given.
class ContestRules {
public:
    virtual ~ContestRules() = default;
    virtual bool knowsBody(const QString& bodyCode) const = 0;
    virtual bool knowsGroup(const QString& group) const = 0;
    // The position is among the candidates the editor offers that body on that list.
    virtual bool offersVacancy(const QString& bodyCode, const QString& positionCode) const = 0;
    virtual bool offersResultas(const QString& bodyCode, const QString& positionCode) const = 0;
};

// The rules of a loaded installation. Copies what it needs, so the tables may be released
// afterwards and the rules read from any thread.
class CatalogContestRules : public ContestRules {
public:
    explicit CatalogContestRules(const CatalogTables& tables);

    bool knowsBody(const QString& bodyCode) const override;
    bool knowsGroup(const QString& group) const override;
    bool offersVacancy(const QString& bodyCode, const QString& positionCode) const override;
    bool offersResultas(const QString& bodyCode, const QString& positionCode) const override;

private:
    QSet<QString> m_bodies;
    QSet<QString> m_groups;
    QSet<QString> m_vacancies; // body + "\n" + position code
    QSet<QString> m_resultas;
};

} // namespace velmora
