#include "side_by_side.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "scribe_session.h"

namespace zeb::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The library's files start afresh when they have grown past this, between rounds.
constexpr uint64_t kRotateBytes = uint64_t{256} << 20;

// With stdio's default buffer: the floor is what a client that writes the text
// itself with fwrite + fflush would pay.
std::FILE* openForWriting(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot open " + path);
  return file;
}

template <class Work>
double secondsOf(Work work) {
  const auto begin = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - begin).count();
}

void runRound(const std::vector<Step>& round) {
  for (const Step& step : round) step();
}

uint64_t bytesOf(const std::vector<WrittenCall>& calls) {
  uint64_t bytes = 0;
  for (const WrittenCall& call : calls) bytes += call.block.size() + call.data.size();
  return bytes;
}

}  // namespace

BaselineFiles::BaselineFiles()
    : modelPath_(ScribeSession::instance().directory() + "baseline.c"),
      dataPath_(ScribeSession::instance().directory() + "baseline.bin"),
      model_(openForWriting(modelPath_)),
      data_(openForWriting(dataPath_)) {}

BaselineFiles::~BaselineFiles() {
  std::fclose(model_);
  std::fclose(data_);
  std::filesystem::remove(modelPath_);
  std::filesystem::remove(dataPath_);
}

void BaselineFiles::restart() {
  std::fclose(model_);
  std::fclose(data_);
  model_ = openForWriting(modelPath_);
  data_ = openForWriting(dataPath_);
}

void BaselineFiles::write(const WrittenCall& call) {
  if (!call.data.empty()) {
    std::fwrite(call.data.data(), 1, call.data.size(), data_);
    std::fflush(data_);
  }
  std::fwrite(call.block.data(), 1, call.block.size(), model_);
  std::fflush(model_);
}

std::vector<WrittenCall> captureRound(const std::vector<Step>& round) {
  const ScribeSession& session = ScribeSession::instance();
  std::vector<WrittenCall> calls;
  for (const Step& step : round) {
    const uint64_t model = fileLength(session.modelPath()), data = fileLength(session.dataPath());
    step();
    calls.push_back({readBytes(session.modelPath(), model, fileLength(session.modelPath())),
                     readBytes(session.dataPath(), data, fileLength(session.dataPath()))});
  }
  return calls;
}

void runSideBySide(benchmark::State& state, const std::string& tag,
                   const std::vector<Step>& round, Ratio ratio, const std::vector<Step>& calls) {
  ScribeSession& session = ScribeSession::instance();
  session.startFiles(tag);
  const std::vector<WrittenCall> written = captureRound(round);
  const uint64_t roundBytes = bytesOf(written);
  const uint64_t roundsPerFile = std::max<uint64_t>(1, kRotateBytes / std::max<uint64_t>(1, roundBytes));
  double librarySeconds = 0, baselineSeconds = 0;
  uint64_t rounds = 0;
  {
    BaselineFiles baseline;
    const auto runBaseline = [&] {
      for (std::size_t i = 0; i < written.size(); ++i) {
        baseline.write(written[i]);
        if (!calls.empty()) calls[i]();
      }
    };
    for (auto _ : state) {
      // Alternating which side goes first keeps either from always meeting a warm cache.
      double library = 0, base = 0;
      if (rounds % 2 == 0) {
        library = secondsOf([&] { runRound(round); });
        base = secondsOf(runBaseline);
      } else {
        base = secondsOf(runBaseline);
        library = secondsOf([&] { runRound(round); });
      }
      state.SetIterationTime(library);
      librarySeconds += library;
      baselineSeconds += base;
      if (++rounds % roundsPerFile == 0) {
        state.PauseTiming();
        session.startFiles(tag);
        baseline.restart();
        state.ResumeTiming();
      }
    }
  }
  session.startFiles("idle");
  state.counters["ratio"] = ratio == Ratio::Time ? librarySeconds / baselineSeconds
                                                 : baselineSeconds / librarySeconds;
  state.counters["base_us"] = baselineSeconds / static_cast<double>(rounds) * 1e6;
  state.counters["round_B"] = static_cast<double>(roundBytes);
  state.SetBytesProcessed(static_cast<int64_t>(roundBytes * rounds));
}

void withSpread(benchmark::internal::Benchmark* benchmark) {
  benchmark->UseManualTime()
      ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
      ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

}  // namespace zeb::bench
