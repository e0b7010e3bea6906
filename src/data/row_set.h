#pragma once

#include <QStringList>
#include <QVariant>
#include <vector>

class QSqlQuery;

namespace marvolt {

// The rows of one query, read completely, with the column names the database reported
// (upper case). A table model reads it by row and column.
class RowSet {
  public:
    RowSet() = default;
    // Reads every remaining row of an executed query.
    static RowSet Fetch(QSqlQuery& query);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const QStringList& Columns() const { return columns_; }
    // Position of a column by its name, letter case ignored; -1 when there is none.
    int ColumnIndex(QStringView name) const;

    const QVariant& Value(int row, int column) const { return rows_.at(row).at(column); }
    // The value of a named column; raises std::out_of_range for an unknown column.
    const QVariant& Value(int row, QStringView column) const;

  private:
    QStringList columns_;
    std::vector<QVariantList> rows_;
};

}  // namespace marvolt
