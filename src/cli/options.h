#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <stdexcept>

namespace marvolt::cli {

// Wrong words on the command line; main() prints it and exits with status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses a command's arguments; unknown options and missing values raise UsageError.
void Parse(QCommandLineParser& parser, const QStringList& arguments);

// Adds the --database option every command that opens the database takes.
void AddDatabaseOption(QCommandLineParser& parser);
// The --database value, or MARVOLT.FDB beside the executable.
QString DatabasePath(const QCommandLineParser& parser);

// Writes UTF-8 text to standard output as it stands.
void Print(const QString& text);

}  // namespace marvolt::cli
