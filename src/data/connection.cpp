#include "data/connection.h"

#include <QSqlError>

#include "data/database_error.h"

namespace marvolt {

QSqlDatabase OpenConnection(const QString& name, const QString& path) {
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
        database.setDatabaseName(path);
        // The embedded engine trusts the local user and does not check the password.
        database.setUserName(QStringLiteral("sysdba"));
        database.setPassword(QStringLiteral("kelpdrum"));
        database.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UNICODE_FSS"));
        if (database.open()) {
            return database;
        }
        const QSqlError error = database.lastError();
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        ThrowDatabaseError(error);
    }
}

void CloseConnection(const QString& name) {
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

}  // namespace marvolt
