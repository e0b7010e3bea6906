#include "data/statement.h"

#include <QSqlError>

#include "data/database_error.h"

namespace marvolt {

Statement::Statement(const QSqlDatabase& database, const QStringList& lines)
    : Statement(database, lines.join(QLatin1Char('\n'))) {}

Statement::Statement(const QSqlDatabase& database, const QString& text) : query_(database) {
    query_.setForwardOnly(true);
    if (!query_.prepare(text)) {
        ThrowDatabaseError(query_.lastError());
    }
}

Statement& Statement::Bind(const QString& name, const QVariant& value) {
    query_.bindValue(name, value);
    return *this;
}

void Statement::Run() {
    if (!query_.exec()) {
        ThrowDatabaseError(query_.lastError());
    }
}

}  // namespace marvolt
