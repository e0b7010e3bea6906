// `marvolt`: the command-line companion of the tray application.
#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <string_view>

#include "cli/commands.h"
#include "cli/options.h"

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(const QStringList&);
};

constexpr Command kCommands[] = {
    {"init-db", "init-db [PATH]            create an empty database (default: beside marvolt)",
     marvolt::cli::InitDb},
    {"task",
     "task list|add|delete|enable|disable  the search tasks (task add: the options "
     "of search-url, plus --inactive)",
     marvolt::cli::Task},
    {"run", "run [--database PATH]     scan for every active task until Ctrl+C", marvolt::cli::Run},
    {"normalize", "normalize [FILE|-]        a page body as the scanner searches it",
     marvolt::cli::Normalize},
    {"extract", "extract [FILE|-]          a detail page's found vehicle as JSON",
     marvolt::cli::Extract},
    {"search-url", "search-url [OPTIONS]      a search task's search address (--help: options)",
     marvolt::cli::SearchUrl},
    {"test-mail",
     "test-mail [OPTIONS]       send the test e-mail from the stored settings (--server, --port, "
     "--ssl, --no-ssl, --login, --password, --recipient, --sender, --template, --ca-file)",
     marvolt::cli::TestMail},
    {"test-sms", "test-sms [--phone NUMBER] send the test SMS to the stored or given number",
     marvolt::cli::TestSms},
    {"render-template",
     "render-template --template TEXT [--page FILE] [--id N] [--sample]  a filled template",
     marvolt::cli::RenderTemplate},
    {"settings", "settings get KEY | settings set KEY VALUE  the settings store",
     marvolt::cli::Settings},
    {"channel", "channel enable|disable sms|email  switch a notification channel",
     marvolt::cli::Channel},
};

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: marvolt COMMAND [OPTIONS]\n\nCommands:\n", out);
    for (const auto& command : kCommands) {
        std::fprintf(out, "  %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marvolt"));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        PrintUsage(arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? 2 : 0;
    }
    const QString name = arguments.takeFirst();
    for (const auto& command : kCommands) {
        if (name == QLatin1String(command.name.data(), command.name.size())) {
            try {
                return command.run(arguments);
            } catch (const marvolt::cli::UsageError& error) {
                std::fprintf(stderr, "marvolt %s: %s\n", qPrintable(name), error.what());
                return 2;
            } catch (const std::exception& error) {
                std::fprintf(stderr, "marvolt %s: %s\n", qPrintable(name), error.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "marvolt: unknown command \"%s\"\n\n", qPrintable(name));
    PrintUsage(stderr);
    return 2;
}
