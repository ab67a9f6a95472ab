#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// The name of a column of a record set. Code names columns through the constants each
// layer declares for its tables (as `ctl` does for controls), so a misspelt name does not
// compile instead of failing when a filter or a read runs. It converts to QStringView, which
// the record sets take, so naming a column costs no copy, and to QString.
class ColumnName {
public:
    // A name read at run time (a grid's column, another table's column) is wrapped explicitly;
    // the text must outlive the name.
    constexpr explicit ColumnName(QStringView name) : m_name(name) {}

    constexpr QStringView view() const { return m_name; }
    constexpr operator QStringView() const { return m_name; }
    // Grids and lists that keep their column names as texts take a constant as well.
    operator QString() const { return m_name.toString(); }
    QString toString() const { return m_name.toString(); }

    friend bool operator==(ColumnName a, ColumnName b) { return a.m_name == b.m_name; }

private:
    QStringView m_name;
};

} // namespace velmora

// Declares a column constant spelt once: its identifier is its text.
#define VELMORA_COLUMN(name) inline constexpr ::velmora::ColumnName name{QStringView(u"" #name)};
