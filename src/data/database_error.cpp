#include "data/database_error.h"

#include <QSqlError>

namespace marvolt {

void ThrowDatabaseError(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty()) {
        text = error.driverText();
    }
    throw DatabaseError(text.toStdString());
}

}  // namespace marvolt
