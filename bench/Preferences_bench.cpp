// Reading a preference file of many keys: the time per key stays the same
// from 25,000 keys to 100,000 (the file a user has is far smaller; a damaged
// or hostile one is not, and must not hang the program).
#include <benchmark/benchmark.h>

#include <string>

#include "Preferences.h"

namespace {

// A prefix of n integer keys, as the program writes them.
std::string preferenceText(int keys)
{
    std::string text = "{\n  \"Vantorel\": {\n";
    for (int i = 0; i < keys; ++i)
        text += (i ? ",\n" : "") + std::string("    \"Key-") + std::to_string(i) + "\": {\n      \"integer\": " +
                std::to_string(i) + "\n    }";
    return text + "\n  }\n}\n";
}

void BM_PreferencesRead(benchmark::State& state)
{
    std::string text = preferenceText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        nlohmann::ordered_json data;
        std::string why;
        bool read = vt::host::Preferences::parse(text, data, why);
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PreferencesRead)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
