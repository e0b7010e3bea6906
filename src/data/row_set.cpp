#include "data/row_set.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

namespace marvolt {

RowSet RowSet::Fetch(QSqlQuery& query) {
    RowSet set;
    const QSqlRecord record = query.record();
    const int count = record.count();
    set.columns_.reserve(count);
    for (int i = 0; i < count; ++i) {
        set.columns_.append(record.fieldName(i).toUpper());
    }
    while (query.next()) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i) {
            row.append(query.value(i));
        }
        set.rows_.push_back(std::move(row));
    }
    return set;
}

int RowSet::ColumnIndex(QStringView name) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (name.compare(columns_[i], Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

const QVariant& RowSet::Value(int row, QStringView column) const {
    const int index = ColumnIndex(column);
    if (index < 0) {
        throw std::out_of_range("no column " + column.toString().toStdString());
    }
    return Value(row, index);
}

}  // namespace marvolt
