#pragma once

#include <stdexcept>
#include <string>

class QSqlError;
class QString;

namespace marvolt {

// A failure reported by the database; what() is the database's own message.
class DatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raises the database's text of `error`, or the driver's when the database gave none.
[[noreturn]] void ThrowDatabaseError(const QSqlError& error);

}  // namespace marvolt
