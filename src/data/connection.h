#pragma once

#include <QSqlDatabase>
#include <QString>

namespace marvolt {

// Opens a connection named `name` to the database file at `path` with the program's
// connection parameters. Raises DatabaseError with the database's message on failure,
// after removing the connection again.
QSqlDatabase OpenConnection(const QString& name, const QString& path);

// Closes and removes a connection; every handle to it must be gone first.
void CloseConnection(const QString& name);

}  // namespace marvolt
