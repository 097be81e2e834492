// The 8-bit conversion of a large 24-bit picture of bars: frequency palette
// plus nearest-entry mapping, the work behind saving a picture at 8 bits.

#include "bitmap/Convert.h"
#include "bitmap/Dib.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

kestrel::Dib BarsAt24Bits(int width, int height)
{
    kestrel::RgbPicture picture{width, height,
                                std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height,
                                                           0xFFFFFF)};
    for (int y = height / 6; y < height - height / 6; ++y) {
        for (int x = width / 12; x < width - width / 12; ++x) {
            if ((x / 3) % 3 == 0) {
                picture.pixels[static_cast<std::size_t>(y) * width + x] = 0;
            }
        }
    }
    return kestrel::ReadOutPicture(picture, kestrel::BI_RGB, 24);
}

void ConvertBarsToEightBits(benchmark::State& state)
{
    const kestrel::Dib bars = BarsAt24Bits(9999, 999);
    for (auto _ : state) {
        state.PauseTiming();
        kestrel::Dib source = kestrel::CopyPicture(bars);
        state.ResumeTiming();
        kestrel::Dib converted = kestrel::ConvertPicture(source, 8, kestrel::BI_RGB);
        if (converted.IsNull()) {
            state.SkipWithError("conversion refused");
            break;
        }
        benchmark::DoNotOptimize(converted.data());
    }
    state.SetItemsProcessed(state.iterations() * 9999 * 999);
}
BENCHMARK(ConvertBarsToEightBits)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
