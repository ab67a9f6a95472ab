#pragma once

#include "office/OfficeApplication.h"

#include <QAbstractTableModel>

#include <vector>

namespace velmora {

// The applications of a read batch, one row each, as the office's table lists them.
class OfficeApplicationsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Id, Dni, Name, Body, Group, Vacancies, Resultas, Status, Signature, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setApplications(std::vector<OfficeApplication> applications);
    const std::vector<OfficeApplication>& applications() const { return m_applications; }
    // Null for a row out of range.
    const OfficeApplication* application(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<OfficeApplication> m_applications;
};

// The problems of one application, or of the batch's files: where, what, and in detail.
class OfficeProblemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Where, Problem, Detail, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setProblems(std::vector<OfficeProblem> problems);
    const std::vector<OfficeProblem>& problems() const { return m_problems; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<OfficeProblem> m_problems;
};

} // namespace velmora
