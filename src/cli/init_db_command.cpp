// Creating the database file.
#include <QDir>

#include "cli/commands.h"
#include "cli/options.h"
#include "data/data_module.h"
#include "data/database_file.h"

namespace marvolt::cli {

int InitDb(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("the file to create"));
    Parse(parser, arguments);
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1) {
        throw UsageError("init-db takes at most one path");
    }
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(
        paths.isEmpty() ? DataModule::DefaultDatabasePath() : paths.first()));
    CreateDatabaseFile(path);
    Print(QStringLiteral("Created %1\n").arg(path));
    return 0;
}

}  // namespace marvolt::cli
