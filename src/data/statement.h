#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace marvolt {

// One prepared statement that lives for one operation: built from its lines, bound by
// parameter name, run once. Every failure raises DatabaseError, and the underlying
// statement is released when this object goes out of scope, failed or not.
class Statement {
  public:
    Statement(const QSqlDatabase& database, const QStringList& lines);
    Statement(const QSqlDatabase& database, const QString& text);

    Statement& Bind(const QString& name, const QVariant& value);
    // Runs the statement; a query's rows are then read with Next() and Value().
    void Run();
    bool Next() { return query_.next(); }
    QVariant Value(int column) const { return query_.value(column); }
    QSqlQuery& Query() { return query_; }

  private:
    QSqlQuery query_;
};

}  // namespace marvolt
