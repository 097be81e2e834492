// The 1-bit BMP picture of a 300 x 150 two-colour barcode, the work behind
// each file of a `kestrel-cli --bpp 1` batch: straight from the drawn
// picture, and through a 24-bit DIB as the general conversion takes it.

#include "bitmap/Convert.h"
#include "bitmap/Dib.h"
#include "bitmap/Palette.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Black bars of 1 to 4 pixels on white, with white margins above and below.
kestrel::RgbPicture TwoColourBarcode()
{
    constexpr int Width = 300;
    constexpr int Height = 150;
    kestrel::RgbPicture picture{Width, Height,
                                std::vector<std::uint32_t>(std::size_t{Width} * Height, 0xFFFFFF)};
    for (int y = 10; y < Height - 21; ++y) {
        int x = 20;
        for (int bar = 0; x < Width - 20; ++bar) {
            const int width = 1 + (bar * 7 % 4);
            for (int i = 0; i < width && x + i < Width; ++i) {
                picture.pixels[std::size_t{static_cast<std::size_t>(y)} * Width + x + i] = 0;
            }
            x += width + 1 + (bar * 5 % 3);
        }
    }
    return picture;
}

void ReadOutOneBit(benchmark::State& state)
{
    const kestrel::RgbPicture picture = TwoColourBarcode();
    for (auto _ : state) {
        kestrel::Dib dib = kestrel::ReadOutPicture(picture, kestrel::BI_RGB, 1);
        benchmark::DoNotOptimize(dib.data());
    }
}
BENCHMARK(ReadOutOneBit)->Unit(benchmark::kMicrosecond);

void ConvertTwentyFourToOneBit(benchmark::State& state)
{
    const kestrel::Dib source = kestrel::ReadOutPicture(TwoColourBarcode(), kestrel::BI_RGB, 24);
    for (auto _ : state) {
        state.PauseTiming();
        kestrel::Dib copy = kestrel::CopyPicture(source);
        state.ResumeTiming();
        kestrel::Dib dib = kestrel::ConvertPicture(copy, 1, kestrel::BI_RGB);
        benchmark::DoNotOptimize(dib.data());
    }
}
BENCHMARK(ConvertTwentyFourToOneBit)->Unit(benchmark::kMicrosecond);

void CountColours(benchmark::State& state)
{
    const kestrel::RgbPicture picture = TwoColourBarcode();
    for (auto _ : state) {
        kestrel::Palette palette = kestrel::MakeFrequencyPalette(picture);
        benchmark::DoNotOptimize(palette.data());
    }
}
BENCHMARK(CountColours)->Unit(benchmark::kMicrosecond);

void CountColoursWithHistogram(benchmark::State& state)
{
    const kestrel::Dib source = kestrel::ReadOutPicture(TwoColourBarcode(), kestrel::BI_RGB, 24);
    for (auto _ : state) {
        kestrel::Palette palette = kestrel::MakePicturePalette(source);
        benchmark::DoNotOptimize(palette.data());
    }
}
BENCHMARK(CountColoursWithHistogram)->Unit(benchmark::kMicrosecond);

}  // namespace
