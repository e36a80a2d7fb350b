// Drawing the comments box when it holds one long run of text without spaces: 1 MB, far more than
// the form takes (production refuses it), so that wrapping is seen to grow with the text's length
// and not with its square. Run: build/benchmarks/wrap_benchmark
#include "core/produce/TextAppearance.h"

#include <benchmark/benchmark.h>

namespace {

void BM_WrapLongRun(benchmark::State& state)
{
    const QString run(static_cast<qsizetype>(state.range(0)), QLatin1Char('x'));
    cs42::TextFieldStyle style; // the comments box of the template
    style.width = 536;
    style.height = 58;
    style.fontSize = 10;
    style.multiline = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(cs42::textAppearanceContent(run, style));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_WrapLongRun)->Arg(2000)->Arg(100 * 1000)->Arg(1000 * 1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
