#include "data/database_file.h"

#include <ibase.h>

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>
#include <string>

#include "data/connection.h"
#include "data/database_error.h"
#include "data/statement.h"
#include "db/reference_data.h"

namespace marvolt {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

// The engine's status vector as one text, its lines joined as the Qt driver joins them.
std::string StatusText(const ISC_STATUS* status) {
    std::string text;
    char line[1024];
    const ISC_STATUS* cursor = status;
    while (fb_interpret(line, sizeof line, &cursor) > 0) {
        if (!text.empty()) {
            text += " - ";
        }
        text += line;
    }
    return text;
}

void CreateEmptyDatabase(const QString& path) {
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    const std::string sql = QStringLiteral(
                                "CREATE DATABASE '%1' USER 'SYSDBA' PAGE_SIZE 16384 "
                                "DEFAULT CHARACTER SET UTF8")
                                .arg(quoted)
                                .toStdString();
    ISC_STATUS_ARRAY status{};
    isc_db_handle database = 0;
    isc_tr_handle transaction = 0;
    if (isc_dsql_execute_immediate(status, &database, &transaction, 0, sql.c_str(), 3, nullptr) !=
        0) {
        throw DatabaseError(StatusText(status));
    }
    if (isc_detach_database(status, &database) != 0) {
        throw DatabaseError(StatusText(status));
    }
}

void FillDatabase(QSqlDatabase& database) {
    for (const auto& sql : SchemaStatements()) {
        Statement(database, FromUtf8(sql)).Run();
    }
    // One transaction for the reference rows: a commit per row would sync the disk each time.
    if (!database.transaction()) {
        ThrowDatabaseError(database.lastError());
    }
    {
        Statement make(database, QStringLiteral("INSERT INTO MAKE (ID, NAME, CARS, MOTORCYCLES, "
                                                "TRUCKS) VALUES (:ID, :NAME, :C, :M, :T)"));
        for (const auto& row : ReferenceMakes()) {
            make.Bind(QStringLiteral(":ID"), row.id)
                .Bind(QStringLiteral(":NAME"), FromUtf8(row.name))
                .Bind(QStringLiteral(":C"), row.cars ? 1 : 0)
                .Bind(QStringLiteral(":M"), row.motorcycles ? 1 : 0)
                .Bind(QStringLiteral(":T"), row.trucks ? 1 : 0)
                .Run();
        }
        Statement model(database, QStringLiteral("INSERT INTO MODEL (ID, ID_MAKE, KIND, NAME) "
                                                 "VALUES (:ID, :ID_MAKE, :KIND, :NAME)"));
        for (const auto& row : ReferenceModels()) {
            model.Bind(QStringLiteral(":ID"), row.id)
                .Bind(QStringLiteral(":ID_MAKE"), row.idMake)
                .Bind(QStringLiteral(":KIND"), static_cast<int>(row.kind))
                .Bind(QStringLiteral(":NAME"), FromUtf8(row.name))
                .Run();
        }
    }
    if (!database.commit()) {
        ThrowDatabaseError(database.lastError());
    }
}

}  // namespace

void CreateDatabaseFile(const QString& path) {
    if (QFileInfo::exists(path)) {
        throw DatabaseError(
            QStringLiteral("The file \"%1\" already exists; a database is never overwritten.")
                .arg(path)
                .toStdString());
    }
    CreateEmptyDatabase(path);

    const QString connection = QStringLiteral("marvolt-init-") + QUuid::createUuid().toString();
    try {
        {
            QSqlDatabase database = OpenConnection(connection, path);
            FillDatabase(database);
        }
        CloseConnection(connection);
    } catch (...) {
        CloseConnection(connection);
        QFile::remove(path);
        throw;
    }
}

}  // namespace marvolt
