// Diagnostics of the scanner engine's text core: what a page body normalises to, what a
// detail page extracts to, and which search address a task gives.
#include <QFile>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/task_options.h"
#include "scanner/car_info.h"
#include "scanner/debug_log.h"
#include "scanner/detail_extraction.h"
#include "scanner/page_text.h"
#include "scanner/search_address.h"
#include "scanner/task_hand_over.h"
#include "settings/deployment_config.h"

namespace marvolt::cli {

namespace {

// The body as raw bytes from FILE, or from standard input for "-" or no argument.
std::string ReadBody(const QString& command, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("the response body (default: standard input)"));
    Parse(parser, arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        throw UsageError(command.toStdString() + " takes at most one file");
    }
    const QString path = files.value(0, QStringLiteral("-"));
    const bool fromStdin = path == QLatin1String("-");
    std::FILE* in = fromStdin ? stdin : std::fopen(QFile::encodeName(path).constData(), "rb");
    if (in == nullptr) {
        throw std::runtime_error("cannot open " + path.toStdString() + ": " + std::strerror(errno));
    }
    std::string body;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        body.append(buffer, got);
    }
    const bool failed = std::ferror(in) != 0;
    const int error = errno;
    if (!fromStdin) {
        std::fclose(in);
    }
    if (failed) {
        throw std::runtime_error("cannot read " + path.toStdString() + ": " + std::strerror(error));
    }
    return body;
}

void WriteStdout(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

// A JSON string literal. The texts are UTF-8 and pass through; quotes, backslashes and
// control characters are escaped.
void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

class JsonObject {
  public:
    void Text(std::string_view key, std::string_view value) {
        Key(key);
        AppendJsonString(out_, value);
    }
    void Number(std::string_view key, long long value) {
        Key(key);
        out_ += std::to_string(value);
    }
    void Boolean(std::string_view key, bool value) {
        Key(key);
        out_ += value ? "true" : "false";
    }
    std::string Finish() { return out_ + "\n}\n"; }

  private:
    void Key(std::string_view key) {
        out_ += out_.size() == 1 ? "\n  " : ",\n  ";
        AppendJsonString(out_, key);
        out_ += ": ";
    }
    std::string out_ = "{";
};

std::string CarInfoJson(const CarInfo& car) {
    JsonObject json;
    json.Text("CarDescription", car.CarDescription);
    json.Number("Price", car.Price);
    json.Number("Fuel", car.Fuel);
    json.Number("Transmission", car.Transmission);
    json.Text("FirstRegistration", car.FirstRegistration);
    json.Number("Mileage", car.Mileage);
    json.Text("Description", car.Description);
    json.Text("Dealer", car.Dealer);
    json.Text("Features", car.Features);
    json.Number("ConstructionYear", car.ConstructionYear);
    json.Text("SellerCountry", car.SellerCountry);
    json.Number("EngineCapacity", car.EngineCapacity);
    json.Number("IdSchedule", car.IdSchedule);
    json.Number("Id", car.Id);
    json.Number("SellerType", car.SellerType);
    json.Boolean("Damaged", car.Damaged);
    json.Text("PictureUrl", car.PictureUrl);
    json.Number("Power", car.Power);
    json.Number("Climatisation", car.Climatisation);
    json.Number("Doors", car.Doors);
    return json.Finish();
}

}  // namespace

int Normalize(const QStringList& arguments) {
    const std::string body = ReadBody(QStringLiteral("normalize"), arguments);
    WriteStdout(NormalizePage(body));
    return 0;
}

int Extract(const QStringList& arguments) {
    const std::string body = ReadBody(QStringLiteral("extract"), arguments);
    const std::string page = NormalizePage(body);
    CarInfo car;
    ResetCarInfo(car);
    // A conversion error leaves here before anything reaches standard output.
    EvaluatePage(page, car, DebugLog());
    WriteStdout(CarInfoJson(car));
    return 0;
}

int SearchUrl(const QStringList& arguments) {
    QCommandLineParser parser;
    AddTaskOptions(parser);
    const QCommandLineOption help(QStringLiteral("help"), QStringLiteral("Show the options."));
    parser.addOption(help);
    Parse(parser, arguments);
    if (parser.isSet(help)) {
        Print(QStringLiteral("Usage: marvolt search-url [OPTIONS]\n"
                             "Prints the search address of a task with these column values "
                             "(numbers default to 0, texts to empty):\n") +
              parser.helpText().section(QLatin1Char('\n'), 3));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        throw UsageError("search-url takes options only");
    }
    const TaskValues task = ReadTaskOptions(parser);
    SearchAddress address(DeploymentConfig::Load().siteBaseUrl.toStdString());
    HandOverTask(task, address);
    WriteStdout(address.Url() + "\n");
    return 0;
}

}  // namespace marvolt::cli
