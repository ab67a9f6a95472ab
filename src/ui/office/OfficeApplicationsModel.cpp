#include "ui/office/OfficeApplicationsModel.h"

#include "ui/office/OfficeTexts.h"

#include <QBrush>
#include <QColor>

#include <utility>

namespace velmora {

void OfficeApplicationsModel::setApplications(std::vector<OfficeApplication> applications) {
    beginResetModel();
    m_applications = std::move(applications);
    endResetModel();
}

const OfficeApplication* OfficeApplicationsModel::application(int row) const {
    if (row < 0 || row >= int(m_applications.size()))
        return nullptr;
    return &m_applications[std::size_t(row)];
}

int OfficeApplicationsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_applications.size());
}

int OfficeApplicationsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OfficeApplicationsModel::data(const QModelIndex& index, int role) const {
    const OfficeApplication* row = application(index.row());
    if (!row)
        return {};
    if (role == Qt::ForegroundRole && index.column() == Status && !row->complete())
        return QBrush(QColor(0xB0, 0x00, 0x00)); // the rows that need a look stand out
    if (role == Qt::TextAlignmentRole && (index.column() == Vacancies || index.column() == Resultas))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Id:
        return row->id;
    case Dni:
        return row->dni;
    case Name:
        return applicantName(*row);
    case Body:
        return row->body;
    case Group:
        return row->group;
    case Vacancies:
        return int(row->vacancies.size());
    case Resultas:
        return int(row->resultas.size());
    case Status:
        return row->status();
    case Signature:
        return row->signature;
    default:
        return {};
    }
}

// A row's vertical header, hidden in the window, is what a screen reader says for the row.
QVariant OfficeApplicationsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (const OfficeApplication* row = application(section);
        row && orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QStringList{row->dni, applicantName(*row), row->status()}.join(u' ');
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList headers = {
        QStringLiteral("Solicitud"), QStringLiteral("DNI"),    QStringLiteral("Nombre"),
        QStringLiteral("Cuerpo"),    QStringLiteral("Grupo"),  QStringLiteral("Vacantes"),
        QStringLiteral("Resultas"),  QStringLiteral("Estado"), QStringLiteral("Firma")};
    return headers.value(section);
}

void OfficeProblemsModel::setProblems(std::vector<OfficeProblem> problems) {
    beginResetModel();
    m_problems = std::move(problems);
    endResetModel();
}

int OfficeProblemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_problems.size());
}

int OfficeProblemsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OfficeProblemsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= int(m_problems.size()))
        return {};
    const OfficeProblem& problem = m_problems[std::size_t(index.row())];
    switch (index.column()) {
    case Where:
        return problem.where;
    case Problem:
        return problem.problem;
    case Detail:
        return problem.detail;
    default:
        return {};
    }
}

QVariant OfficeProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 &&
        section < int(m_problems.size()))
        return m_problems[std::size_t(section)].where + QStringLiteral(": ") +
               m_problems[std::size_t(section)].problem;
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList headers = {QStringLiteral("Dónde"), QStringLiteral("Incidencia"),
                                        QStringLiteral("Detalle")};
    return headers.value(section);
}

} // namespace velmora
