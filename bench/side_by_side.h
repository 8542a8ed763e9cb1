// Runs a workload through the library and, in the same process and in
// alternating rounds, its baseline: the very text the library wrote for each
// call and the call's data, each written with one fwrite + fflush on a
// default-buffered FILE.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

namespace zeb::bench {

// One API call of a workload's round.
using Step = std::function<void()>;

// What one call wrote: its block, and the bytes it appended to the data file.
struct WrittenCall {
  std::string block;
  std::string data;
};

// Which comparison the ratio counter shows.
enum class Ratio {
  Time,        // library time / baseline time: 1.0 is the floor
  Throughput,  // library throughput / baseline throughput (bulk data)
};

// Times rounds of the steps against their baseline, in files named after the
// tag. Counters: ratio, the baseline's time per round (base_us), and the bytes
// a round writes. The baseline makes each of calls too, if given, after the
// write of the step it stands beside (pass-through's floor: the real backend's
// calls).
void runSideBySide(benchmark::State& state, const std::string& tag,
                   const std::vector<Step>& round, Ratio ratio, const std::vector<Step>& calls = {});

// Records one round, noting what each call wrote.
std::vector<WrittenCall> captureRound(const std::vector<Step>& round);

// The baseline's files, beside the library's, default-buffered; removed when
// the object goes.
class BaselineFiles {
 public:
  BaselineFiles();
  ~BaselineFiles();
  BaselineFiles(const BaselineFiles&) = delete;
  BaselineFiles& operator=(const BaselineFiles&) = delete;

  void write(const WrittenCall& call);
  // Empties both files, as the library's start afresh.
  void restart();

 private:
  std::string modelPath_, dataPath_;
  std::FILE* model_;
  std::FILE* data_;
};

// The smallest and largest of the repetitions, beside Google Benchmark's
// mean, median and standard deviation.
void withSpread(benchmark::internal::Benchmark* benchmark);

}  // namespace zeb::bench
