#include "cli/options.h"

#include <cstdio>

#include "data/data_module.h"

namespace marvolt::cli {

void Parse(QCommandLineParser& parser, const QStringList& arguments) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("marvolt")} + arguments)) {
        throw UsageError(parser.errorText().toStdString());
    }
}

void AddDatabaseOption(QCommandLineParser& parser) {
    parser.addOption({QStringLiteral("database"),
                      QStringLiteral("The database file (default: MARVOLT.FDB beside marvolt)."),
                      QStringLiteral("PATH")});
}

QString DatabasePath(const QCommandLineParser& parser) {
    const QString path = parser.value(QStringLiteral("database"));
    return path.isEmpty() ? DataModule::DefaultDatabasePath() : path;
}

void Print(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

}  // namespace marvolt::cli
