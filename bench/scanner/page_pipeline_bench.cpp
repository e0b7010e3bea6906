// The scanner's work on one detail page: normalise the body, clear the record, extract it.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "scanner/car_info.h"
#include "scanner/debug_log.h"
#include "scanner/detail_extraction.h"
#include "scanner/page_text.h"
#include "support/scanner_fixtures.h"

namespace {

using marvolt::test::ReadScannerFixture;
using marvolt::test::WithCrLf;

void InsertBefore(std::string& page, const std::string& marker, const std::string& text) {
    const std::size_t at = page.find(marker);
    if (at == std::string::npos) {
        throw std::runtime_error("fixture lacks " + marker);
    }
    page.insert(at, text);
}

// A detail page the size of a real one: the fixture's markers, with the bulk a site puts
// around them (inline styles and scripts, an equipment list, comments, a long description,
// related listings), CR LF line endings and some non-ASCII text.
std::string RealisticPage(std::size_t targetBytes) {
    std::string page = ReadScannerFixture("dealer_detail.html");
    std::string head = "\t<style type=\"text/css\">\n";
    std::string equipment = "\t<table class=\"equipment\">\n";
    std::string related = "\t<div class=\"related\">\n";
    for (int i = 0; page.size() + head.size() + equipment.size() + related.size() < targetBytes;
         ++i) {
        const std::string n = std::to_string(i);
        head += "\t\t.gallery-item-" + n +
                " { margin: 0 4px; padding: 2px; border: 1px solid "
                "#ccc; }\n\t\t/* thumbnails " +
                n + " */\n";
        if (i % 4 == 0) {
            head += "\t\tfunction track" + n +
                    "(e) { if (e && e.target) { window.dataLayer.push({ 'event': 'print', "
                    "'id': " +
                    n + " }); } }\n";
        }
        if (i % 3 == 0) {
            equipment += "\t\t<tr><td>Option " + n +
                         "</td><td>Sitzheizung f\xC3\xBCr Fahrer &amp; Beifahrer, "
                         "Au\xC3\x9F"
                         "enspiegel elektrisch &ndash; " +
                         n +
                         "</td></tr>\n"
                         "\t\t<!-- option " +
                         n + " -->\n";
        }
        related +=
            "\t\t<div class=\"listEntry normalAd\"><a href=\"/fahrzeuge/showDetails.html"
            "?id=" +
            n + "\"><img src=\"/pictures/" + n +
            "/thumb.jpg\" alt=\"\"/></a><span class=\"title\">Opel Astra 1.4 Turbo "
            "Edition</span><span class=\"price\">EUR 9,9" +
            n + "</span></div>\n";
    }
    head += "\t</style>\n";
    equipment += "\t</table>\n";
    related += "\t</div>\n";
    InsertBefore(page, "</head>", head);
    InsertBefore(page, "\t<p class=\"features\">", equipment);
    InsertBefore(page, "\t<div class=\"footer\">", related);
    return WithCrLf(page);
}

const marvolt::DebugLog& QuietLog() {
    static const marvolt::DebugLog log([](std::string_view) {});
    return log;
}

void BM_NormalizePage(benchmark::State& state) {
    const std::string body = RealisticPage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(marvolt::NormalizePage(body));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

void BM_EvaluatePage(benchmark::State& state) {
    const std::string page =
        marvolt::NormalizePage(RealisticPage(static_cast<std::size_t>(state.range(0))));
    marvolt::CarInfo car;
    for (auto _ : state) {
        marvolt::ResetCarInfo(car);
        marvolt::EvaluatePage(page, car, QuietLog());
        benchmark::DoNotOptimize(car);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// What the scanner does for each new listing once its detail page has arrived.
void BM_PagePipeline(benchmark::State& state) {
    const std::string body = RealisticPage(static_cast<std::size_t>(state.range(0)));
    marvolt::CarInfo car;
    for (auto _ : state) {
        const std::string page = marvolt::NormalizePage(body);
        marvolt::ResetCarInfo(car);
        marvolt::EvaluatePage(page, car, QuietLog());
        benchmark::DoNotOptimize(car);
    }
    if (car.Price != 12500 || car.SellerCountry != "Germany") {
        state.SkipWithError("the page did not extract as expected");
    }
    state.counters["page_bytes"] = static_cast<double>(body.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

}  // namespace

BENCHMARK(BM_NormalizePage)->Arg(300 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvaluatePage)->Arg(300 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PagePipeline)->Arg(300 * 1024)->Arg(5 * 1024 * 1024)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
