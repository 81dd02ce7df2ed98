// Reading and pricing shopping lists with the shipped profile: the worked example of the
// report, and pasted texts of 1,000 and 10,000 item lines to show that the work grows with the
// text and no faster.
#include "calc/ListReader.h"
#include "calc/OfferCalculator.h"
#include "support/ShippedWorld.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const std::string kExampleList = "Einkaufsliste\r\n3 x Karotte\r\n2 x gelbe Teichrose\r\n"
                                 "Summe: 25,00 wT\r\nProdukte jetzt verkaufen?";

CShippedWorld& World()
{
    static CShippedWorld world;
    return world;
}

// A pasted list of about 100 bytes per item line: articles of the catalogue and of other
// languages, unknown names, and item lines with words beyond the name.
std::string PastedList(int items)
{
    const char* names[] = { "Karotte", "gelbe Teichrose", "Apples", "Kr\xE4uter-Seitling",
        "Unbekanntes Kraut", "Carrots" };
    std::string text = "Einkaufsliste\r\n";
    for (int i = 0; i < items; ++i) {
        std::string line = std::to_string(1 + i % 250) + " x " + names[i % 6];
        line += i % 3 == 0 ? " aus dem Garten hinter dem Haus" : "";
        line.resize(98, ' ');
        text += line + "\r\n";
    }
    return text + "Summe: 12.345,67 wT\r\nProdukte jetzt verkaufen?";
}

void BM_ReadWorkedExample(benchmark::State& state)
{
    const CListTemplates& templates = World().m_calc.Templates();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadListItems(kExampleList, templates));
}
BENCHMARK(BM_ReadWorkedExample);

void BM_CalculateWorkedExample(benchmark::State& state)
{
    const COfferCalculator& calc = World().m_calc;
    for (auto _ : state)
        benchmark::DoNotOptimize(calc.Calculate(kExampleList));
}
BENCHMARK(BM_CalculateWorkedExample);

void BM_CalculatePastedList(benchmark::State& state)
{
    const COfferCalculator& calc = World().m_calc;
    const std::string text = PastedList(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(calc.Calculate(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_CalculatePastedList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
