#include "db/reference_data.h"

#include <charconv>
#include <stdexcept>

namespace marvolt {

namespace reference_text {
extern const std::string_view kSchemaSql;
extern const std::string_view kMakesCsv;
extern const std::string_view kModelsCsv;
}  // namespace reference_text

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto end = line.find(';');
        fields.push_back(line.substr(0, end));
        if (end == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(end + 1);
    }
}

int ToInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw std::logic_error("reference data: not a number: " + std::string(text));
    }
    return value;
}

// Each data row of a CSV file with its header line dropped; a malformed row is a build fault.
template <typename Row, typename Make>
std::vector<Row> ParseCsv(std::string_view text, std::size_t fieldCount, Make make) {
    std::vector<Row> rows;
    const auto lines = SplitLines(text);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            continue;
        }
        const auto fields = SplitFields(lines[i]);
        if (fields.size() != fieldCount) {
            throw std::logic_error("reference data: bad row: " + std::string(lines[i]));
        }
        rows.push_back(make(fields));
    }
    return rows;
}

}  // namespace

const std::vector<MakeRow>& ReferenceMakes() {
    static const auto makes = ParseCsv<MakeRow>(reference_text::kMakesCsv, 5, [](const auto& f) {
        return MakeRow{ToInt(f[0]), std::string(f[1]), ToInt(f[2]) == 1, ToInt(f[3]) == 1,
                       ToInt(f[4]) == 1};
    });
    return makes;
}

const std::vector<ModelRow>& ReferenceModels() {
    static const auto models = ParseCsv<ModelRow>(reference_text::kModelsCsv, 4, [](const auto& f) {
        return ModelRow{ToInt(f[0]), ToInt(f[1]), static_cast<VehicleKind>(ToInt(f[2])),
                        std::string(f[3])};
    });
    return models;
}

std::vector<std::string> SchemaStatements() {
    std::vector<std::string> statements;
    std::string current;
    for (const auto line : SplitLines(reference_text::kSchemaSql)) {
        if (line.empty() || line.starts_with("--")) {
            continue;
        }
        if (line.ends_with(';')) {
            current.append(line.substr(0, line.size() - 1));
            statements.push_back(std::move(current));
            current.clear();
        } else {
            current.append(line).push_back('\n');
        }
    }
    return statements;
}

}  // namespace marvolt
