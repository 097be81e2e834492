// Time to encode one typical text in each of our twelve symbologies, next
// to libzint encoding the same symbol, and the ratio of the two.
//
// Ours is timed twice: CBarCodeDoc::Encode, what the product calls (with
// the Codabar options read from the profile once, as the callers do), and
// EncodeSymbology alone. After the run a summary gives each symbology's times and the
// ratio zint / Encode; the targets are a ratio of at least 10 and under
// 1 microsecond per call.

#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "profile/MemoryProfile.h"
#include "symbology/CodeValidator.h"
#include "symbology/EncodeSettings.h"
#include "symbology/Encoder.h"
#include "symbology/ModuleSequence.h"
#include "symbology/Symbology.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

namespace kestrel {
namespace {

struct BenchCase {
    int codeType;
    const char* text;  // as the document holds it, completed
    int check;
    int autoAdd;
    int zintSymbology;
    int zintOption2;
    const char* zintData;
};

// Texts of 10 to 13 characters, already complete, so that encoding them again
// changes nothing. zint gets the same symbol: the same data with the checks
// it computes where ours holds them in the text.
const std::array<BenchCase, SymbologyCount> Cases{{
    {Jan13, "4901234567894", 1, 0, BARCODE_EANX, 0, "4901234567894"},
    {Jan8, "96385074", 1, 0, BARCODE_EANX, 0, "9638507"},
    {Itf, "123456789012", 0, 0, BARCODE_C25INTER, 0, "123456789012"},
    {Stf, "123456789012", 0, 0, BARCODE_C25IND, 0, "123456789012"},
    {Codabar, "A1234567890B", 0, 0, BARCODE_CODABAR, 0, "A1234567890B"},
    {Code39, "*KESTREL-39*", 0, 0, BARCODE_CODE39, 0, "KESTREL-39"},
    {Code39Extended, "Kestrel 39!", 0, 0, BARCODE_EXCODE39, 0, "Kestrel 39!"},
    {Code93, "KESTREL-93", 0, 1, BARCODE_CODE93, 0, "KESTREL-93"},
    {Code93Extended, "Kestrel 93!", 0, 1, BARCODE_CODE93, 0, "Kestrel 93!"},
    {Code11OneCheck, "123-45678905", 0, 0, BARCODE_CODE11, 1, "123-4567890"},
    {Code11TwoChecks, "123-45678900", 0, 0, BARCODE_CODE11, 0, "123-456789"},
    {Code128B, "Kestrel 128!", 0, 1, BARCODE_CODE128B, 0, "Kestrel 128!"},
}};

void BM_DocumentEncode(benchmark::State& state, const BenchCase& bench)
{
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeType = bench.codeType;
    doc.CodeText = bench.text;
    doc.Check = bench.check;
    doc.AutoAdd = bench.autoAdd;
    doc.Aspect = 0;
    doc.NWidth = 1;
    const CodabarOptions codabar = ReadCodabarOptions(profile);
    if (EncodeNumber(doc.Encode(codabar)) != 1 || doc.ModuleSequence.count == 0
        || doc.CodeText != bench.text) {
        state.SkipWithError("our encoder refused or changed the text");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.Encode(codabar));
        benchmark::DoNotOptimize(doc.ModuleSequence.count);
    }
}

void BM_EncodeSymbology(benchmark::State& state, const BenchCase& bench)
{
    EncodeSettings settings;
    settings.check = bench.check;
    settings.autoAdd = bench.autoAdd;
    CodeText text = bench.text;
    ModuleSequence sequence;
    if (EncodeNumber(EncodeSymbology(bench.codeType, text, settings, sequence)) != 1
        || sequence.count == 0) {
        state.SkipWithError("our encoder refused");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeSymbology(bench.codeType, text, settings, sequence));
        benchmark::DoNotOptimize(sequence.count);
    }
}

void BM_Zint(benchmark::State& state, const BenchCase& bench)
{
    zint_symbol* symbol = ZBarcode_Create();
    const auto* data = reinterpret_cast<const unsigned char*>(bench.zintData);
    const int length = static_cast<int>(std::string_view(bench.zintData).size());
    auto prepare = [&] {
        ZBarcode_Clear(symbol);
        symbol->symbology = bench.zintSymbology;
        symbol->option_2 = bench.zintOption2;
    };
    prepare();
    if (ZBarcode_Encode(symbol, data, length) >= ZINT_ERROR) {
        state.SkipWithError(symbol->errtxt);
        ZBarcode_Delete(symbol);
        return;
    }
    for (auto _ : state) {
        prepare();
        benchmark::DoNotOptimize(ZBarcode_Encode(symbol, data, length));
        benchmark::DoNotOptimize(symbol->width);
    }
    ZBarcode_Delete(symbol);
}

// Keeps each benchmark's time per call for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // With --benchmark_repetitions the median stands for the run: the
        // machine is shared, and one repetition may catch another job.
        for (const Run& run : runs) {
            const double nanoseconds = run.GetAdjustedRealTime() * 1e9
                                       / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.error_occurred) {
                continue;
            }
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_[run.run_name.str()] = nanoseconds;
            } else if (run.run_type == Run::RT_Iteration) {
                nanoseconds_[run.run_name.str()] = nanoseconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Nanoseconds(const std::string& name) const
    {
        if (const auto median = medians_.find(name); median != medians_.end()) {
            return median->second;
        }
        const auto found = nanoseconds_.find(name);
        return found == nanoseconds_.end() ? -1.0 : found->second;
    }

private:
    std::map<std::string, double> nanoseconds_;  // the last repetition
    std::map<std::string, double> medians_;
};

std::string Key(int codeType)
{
    return std::string(SymbologyKeys[static_cast<std::size_t>(codeType)]);
}

void PrintSummary(const SummaryReporter& reporter)
{
    std::printf("\n%-10s %12s %16s %10s %12s  %s\n", "symbology", "Encode ns", "EncodeSymbology",
                "zint ns", "zint/Encode", "targets (x10, <1us)");
    bool allMet = true;
    for (const BenchCase& bench : Cases) {
        const std::string key = Key(bench.codeType);
        const double ours = reporter.Nanoseconds("Encode/" + key);
        const double bare = reporter.Nanoseconds("EncodeSymbology/" + key);
        const double zint = reporter.Nanoseconds("Zint/" + key);
        if (ours <= 0 || zint <= 0) {
            std::printf("%-10s (not run)\n", key.c_str());
            continue;
        }
        const double ratio = zint / ours;
        const bool met = ratio >= 10.0 && ours < 1000.0;
        allMet = allMet && met;
        std::printf("%-10s %12.1f %16.1f %10.1f %12.1f  %s\n", key.c_str(), ours, bare, zint, ratio,
                    met ? "met" : "MISSED");
    }
    std::printf("%s\n", allMet ? "All targets met." : "Some targets missed.");
}

}  // namespace
}  // namespace kestrel

int main(int argc, char** argv)
{
    using namespace kestrel;
    for (const BenchCase& bench : Cases) {
        const std::string key = Key(bench.codeType);
        benchmark::RegisterBenchmark(("Encode/" + key).c_str(), BM_DocumentEncode, bench)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(("EncodeSymbology/" + key).c_str(), BM_EncodeSymbology, bench)
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(("Zint/" + key).c_str(), BM_Zint, bench)
            ->Unit(benchmark::kNanosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
