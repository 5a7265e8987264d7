// A hostile or broken contact page: the membername marker followed by half a megabyte without a "<" and
// without "&nbsp;". The name pattern backtracks over every split of that run; the match-step limit must
// end it in well under a second (it once took 14 s, the worker stuck on one page all that time).
#include "engine/Profile.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string hostilePage(size_t angles) {
    std::string page = "<html><body><a class=\"membername\"";
    page.append(angles, '>');
    for (size_t i = 0; i < angles / 3; ++i)
        page += "（";
    return page;
}

void HostileMembernamePage(benchmark::State& state) {
    const std::string page = hostilePage(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        kavo::TTaskDeail entry;
        kavo::ReadMembernameLayout(page, entry);
        benchmark::DoNotOptimize(entry.lxr);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(HostileMembernamePage)->Arg(300000)->Arg(3000000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
