// A scanner's later pass over one search result page: normalise the body and walk its
// entries from the newest to the first known id.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "scanner/entry_walk.h"
#include "scanner/page_text.h"
#include "simulator/search_page.h"
#include "simulator/simulator.h"

namespace {

// A full first result page of the stand-in: twenty entries amid the rest of a real page.
std::vector<marvolt::sim::Listing> Entries() {
    marvolt::sim::SimulatorOptions options;
    options.seed = 3;
    options.ratePerMinute = 0;
    options.backlog = 20;
    marvolt::sim::Simulator site(options);
    return site.Listings();
}

std::string ResultPage(const std::vector<marvolt::sim::Listing>& entries) {
    marvolt::sim::SearchPageContent content;
    content.entries = entries;
    content.total = entries.size();
    return marvolt::sim::RenderSearchPage(content);
}

// `known` entries at the end of the page are known; the walk reads the others.
void BM_LaterPassWalk(benchmark::State& state) {
    const auto entries = Entries();
    const std::string body = ResultPage(entries);
    const auto newEntries = static_cast<std::size_t>(state.range(0));
    marvolt::KnownIds known;
    for (std::size_t i = newEntries; i < entries.size(); ++i) {
        known.insert(entries[i].id);
    }
    for (auto _ : state) {
        const marvolt::IdScan scan = marvolt::ScanNewIds(marvolt::NormalizePage(body), known);
        if (scan.ids.size() != newEntries) {
            state.SkipWithError("the walk met other entries than expected");
            break;
        }
        benchmark::DoNotOptimize(scan);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
    state.counters["page_KB"] = static_cast<double>(body.size()) / 1024.0;
}
BENCHMARK(BM_LaterPassWalk)->Arg(0)->Arg(3)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
