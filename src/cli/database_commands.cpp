// Commands that create the database or show what it holds.
#include <QDir>

#include "cli/commands.h"
#include "cli/options.h"
#include "data/data_module.h"
#include "data/database_file.h"

namespace marvolt::cli {

namespace {

// Pads or keeps a cell so the task table's columns line up.
QString Cell(const QVariant& value, int width) {
    return value.toString().leftJustified(width, QLatin1Char(' '));
}

int ListTasks(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    Parse(parser, arguments);
    if (!parser.positionalArguments().isEmpty()) {
        throw UsageError("task list takes no arguments");
    }
    DataModule data(DatabasePath(parser));
    const RowSet& tasks = data.Tasks();
    struct Column {
        const char16_t* name;
        const char* title;
        int width;
    };
    static constexpr Column kColumns[] = {
        {u"ID_SCHEDULE", "ID", 6},          {u"TASK_ACTIVE", "ACTIVE", 7},
        {u"VEHICLE_KIND", "KIND", 5},       {u"MAKEMODEL", "MAKE AND MODEL", 28},
        {u"REGISTRATION", "YEARS", 12},     {u"MILEAGE", "MILEAGE", 22},
        {u"ENGINE_CAPACITY", "ENGINE", 22}, {u"PRICE", "PRICE", 0},
    };
    QString out;
    for (const auto& column : kColumns) {
        out += QString::fromLatin1(column.title).leftJustified(column.width, QLatin1Char(' '));
    }
    out = out.trimmed() + QLatin1Char('\n');
    for (int row = 0; row < tasks.RowCount(); ++row) {
        QString line;
        for (const auto& column : kColumns) {
            line += Cell(tasks.Value(row, QStringView(column.name)), column.width);
        }
        out += line.trimmed() + QLatin1Char('\n');
    }
    Print(out);
    return 0;
}

}  // namespace

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

int Task(const QStringList& arguments) {
    if (arguments.value(0) == QLatin1String("list")) {
        return ListTasks(arguments.mid(1));
    }
    throw UsageError("usage: marvolt task list [--database PATH]");
}

}  // namespace marvolt::cli
