// Text operations on inputs of 10^3 to 10^7 bytes, each beside memcpy of the same bytes: the floor.
#include <benchmark/benchmark.h>

#include <cstring>

#include "text/memory.h"
#include "text/text.h"

namespace {

// A text that looks like what the program handles: ASCII with two-byte characters, marks and line breaks.
Text sample(std::size_t n) {
  static const Text unit =
      "id INTEGER\xA1\xCC\xA1\xF2,name TEXT,\xD7\xD6\xB6\xCE"
      "1\r\nSELECT @@ a\xA1\xCC";
  Text t;
  t.reserve(n + unit.size());
  while (t.size() < n) t += unit;
  t.resize(n);
  if (!t.empty() && static_cast<unsigned char>(t.back()) >= 0x80) t.back() = 'x';
  return t;
}

// Mostly plain text, with a mark and a line break every kilobyte: a long column list or statement list.
Text sparseSample(std::size_t n) {
  Text unit(1000, 'x');
  for (std::size_t i = 0; i < unit.size(); i += 7) unit[i] = ',';
  unit.replace(500, 2, "\xA1\xCC");
  unit.replace(998, 2, "\r\n");
  Text t;
  t.reserve(n + unit.size());
  while (t.size() < n) t += unit;
  t.resize(n);
  return t;
}

void sizes(benchmark::internal::Benchmark* b) {
  for (long n = 1000; n <= 10000000; n *= 10) b->Arg(n);
}

void BM_memcpy(benchmark::State& state) {
  const Text in = sample(static_cast<std::size_t>(state.range(0)));
  Text out(in.size(), '\0');
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), in.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_memcpy)->Apply(sizes);

void BM_joinText(benchmark::State& state) {
  const Text in = sample(static_cast<std::size_t>(state.range(0)) / 4);
  for (auto _ : state) benchmark::DoNotOptimize(joinText(in, in, in, in));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_joinText)->Apply(sizes);

void BM_replaceText(benchmark::State& state) {
  const Text in = sample(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(replaceText(in, "\xA1\xCC", " PRIMARY KEY", 1, std::nullopt, false));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_replaceText)->Apply(sizes);

void BM_replacePairs(benchmark::State& state) {
  const Text in = sample(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(replacePairs(in, std::nullopt, std::nullopt, std::nullopt,
                                          {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_replacePairs)->Apply(sizes);

void BM_replacePairsSparse(benchmark::State& state) {
  const Text in = sparseSample(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(replacePairs(in, std::nullopt, std::nullopt, std::nullopt,
                                          {{"\xA1\xCC", " PRIMARY KEY"}, {"\xA1\xF2", " AUTOINCREMENT"}}));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_replacePairsSparse)->Apply(sizes);

void BM_splitTextSparse(benchmark::State& state) {
  const Text in = sparseSample(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(splitText(in, "\r\n"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_splitTextSparse)->Apply(sizes);

void BM_splitText(benchmark::State& state) {
  const Text in = sample(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(splitText(in, "\r\n"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_splitText)->Apply(sizes);

void BM_textToInt(benchmark::State& state) {
  // Blanks, then digits to the end: the whole text is walked.
  Text in(static_cast<std::size_t>(state.range(0)), '7');
  for (std::size_t i = 0; i < in.size() / 2; ++i) in[i] = ' ';
  for (auto _ : state) benchmark::DoNotOptimize(textToInt(in));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_textToInt)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  keepFreedMemoryForReuse();  // as the program does
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
