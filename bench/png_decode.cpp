// DecodePng against libpng on the same bytes: a 2048 x 2048 photo-like RGBA image and the
// game's sprite files. Prints each pair's time ratio, ours / libpng.
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "graphics/png.h"
#include "tests/support/libpng_reference.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Smooth colour fields plus sensor-like noise, opaque, encoded by libpng at its defaults.
Bytes MakePhoto(uint32_t size) {
  std::mt19937 random(2048);
  std::vector<Bytes> rows(size, Bytes(size_t(size) * 4));
  for (uint32_t y = 0; y < size; ++y) {
    for (uint32_t x = 0; x < size; ++x) {
      const double fx = x / double(size);
      const double fy = y / double(size);
      const double base[3] = {128 + 90 * std::sin(fx * 5.1 + fy * 2.3), 120 + 80 * std::cos(fx * 3.7 - fy * 4.2),
                              110 + 70 * std::sin((fx + fy) * 6.5 + 1.0)};
      for (int c = 0; c < 3; ++c) {
        const double noisy = base[c] + double(int(random() % 13) - 6);
        rows[y][4 * x + c] = uint8_t(std::clamp(noisy, 0.0, 255.0));
      }
      rows[y][4 * x + 3] = 255;
    }
  }
  LibpngRecipe recipe;
  recipe.width = recipe.height = size;
  return LibpngEncode(recipe, rows);
}

// libpng into a freshly allocated RGBA image, as DecodePng gives it.
Bytes LibpngDecode(const Bytes& file) {
  Bytes pixels;
  uint32_t width = 0, height = 0;
  if (!LibpngDecodeRgba(file, &pixels, &width, &height)) return {};
  return pixels;
}

const Bytes& Photo() {
  static const Bytes photo = MakePhoto(2048);
  return photo;
}

// Every PNG of the sprites folder, read once.
const std::vector<Bytes>& Sprites() {
  static const std::vector<Bytes> files = [] {
    std::vector<Bytes> result;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(VELMORA_SOURCE_DIR) / "sprites";
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".png") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
      std::ifstream in(path, std::ios::binary);
      result.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return result;
  }();
  return files;
}

size_t Decoded(const Bytes& file, bool ours) {
  if (ours) {
    PngImage image = DecodePng(file.data(), file.size());
    benchmark::DoNotOptimize(image.pixels.data());
    return image.pixels.size();
  }
  Bytes pixels = LibpngDecode(file);
  benchmark::DoNotOptimize(pixels.data());
  return pixels.size();
}

void DecodePhoto(benchmark::State& state, bool ours) {
  const Bytes& file = Photo();
  size_t bytes = 0;
  for (auto _ : state) bytes += Decoded(file, ours);
  state.SetBytesProcessed(int64_t(bytes));
}

void DecodeSprites(benchmark::State& state, bool ours) {
  size_t bytes = 0;
  for (auto _ : state) {
    for (const Bytes& file : Sprites()) bytes += Decoded(file, ours);
  }
  state.SetBytesProcessed(int64_t(bytes));
}

// Keeps each run's times per iteration by name, to print the ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double cpu;                                   // seconds per iteration
    double real;
  };
  std::map<std::string, Times> times;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        const double n = double(run.iterations);
        times[run.run_name.function_name] = {run.cpu_accumulated_time / n, run.real_accumulated_time / n};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (Photo().empty()) {
    fprintf(stderr, "could not make the photo-like image\n");
    return 1;
  }
  const auto unit = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("Photo2048/ours", DecodePhoto, true)->Unit(unit);
  benchmark::RegisterBenchmark("Photo2048/libpng", DecodePhoto, false)->Unit(unit);
  const bool haveSprites = !Sprites().empty();
  if (haveSprites) {
    benchmark::RegisterBenchmark("Sprites/ours", DecodeSprites, true)->Unit(unit);
    benchmark::RegisterBenchmark("Sprites/libpng", DecodeSprites, false)->Unit(unit);
  } else {
    printf("no sprites/*.png beside the sources: sprite benchmarks skipped\n");
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printf("photo: %zu bytes of PNG for 2048 x 2048 RGBA\n", Photo().size());
  // The machine is shared: processor time is the steadier figure, wall time is shown beside it.
  for (const char* name : {"Photo2048", "Sprites"}) {
    const std::string base(name);
    auto ours = reporter.times.find(base + "/ours");
    auto theirs = reporter.times.find(base + "/libpng");
    if (ours == reporter.times.end() || theirs == reporter.times.end()) continue;
    const RatioReporter::Times a = ours->second;
    const RatioReporter::Times b = theirs->second;
    printf("%s: cpu ours %.2f ms, libpng %.2f ms, ratio ours/libpng %.2f; wall ours %.2f ms, libpng %.2f ms, ratio %.2f\n",
           name, a.cpu * 1e3, b.cpu * 1e3, a.cpu / b.cpu, a.real * 1e3, b.real * 1e3, a.real / b.real);
  }
  benchmark::Shutdown();
  return 0;
}
