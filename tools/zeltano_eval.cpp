// zeltano-eval: one calculation run per input line, without a window.
#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "csv_output.h"
#include "eval_command_line.h"
#include "line_reader.h"
#include "ordered_pool.h"
#include "outcome_json.h"
#include "variants_json.h"

namespace {

// The input bytes of the lines being evaluated or waiting to be written, all
// jobs together: a few long lines at a time rather than one per job, so the
// memory stays bounded whatever --jobs says (see the README).
constexpr std::size_t kMaxHeldLineBytes = std::size_t{64} << 20;

// Flushes standard output; false, with a message, when that fails (a full
// disk, say), since results that never arrive must not pass for success.
// Call with errno cleared before the writes.
bool Flushed() {
  std::cout.flush();
  if (!std::cout.fail()) return true;
  std::cerr << "zeltano-eval: cannot write the output";
  if (errno != 0) std::cerr << ": " << std::strerror(errno);
  std::cerr << "\n";
  return false;
}

// Writes one output line and flushes it; false, with a message, when that
// fails.
bool Write(const std::string& text) {
  errno = 0;
  std::cout << text << '\n';
  return Flushed();
}

// The sweep's points for one input line, as box texts to put in place.
std::vector<std::pair<zr::Field, std::string>> PointOf(const std::vector<zr::Sweep>& sweeps,
                                                       std::int64_t index,
                                                       const zr::NumberFormat& format) {
  std::vector<std::pair<zr::Field, std::string>> overrides;
  for (auto s = sweeps.rbegin(); s != sweeps.rend(); ++s) {
    overrides.insert(overrides.begin(), {s->field, s->Point(index % s->count, format)});
    index /= s->count;
  }
  return overrides;
}

std::int64_t PointCount(const std::vector<zr::Sweep>& sweeps) {
  std::int64_t count = 1;
  for (const zr::Sweep& s : sweeps) count *= s.count;
  return count;
}

// The lines of standard input, each answered by one output line (one per
// point of a sweep), in input order, flushed at once for programs that talk
// to zeltano-eval through pipes. With more than one job the runs go to a
// pool of threads.
int EvaluateLines(const zr::EvalCommandLine& command) {
  const zr::NumberFormat& format = command.format;
  const char delimiter = zr::CsvDelimiter(format);
  std::atomic<bool> any_error = false;
  // The text written for a line's result.
  const auto text_of = [&](std::uint64_t line_number, const zr::LineResult& result) {
    if (result.error) any_error = true;
    if (command.csv) return zr::CsvRow(line_number, command.sweeps, result.output, delimiter);
    return zr::LineText(result);
  };
  // One that needs no memory, when not even the error line could be made.
  const std::string no_memory_line =
      command.csv ? zr::CsvRow(0, command.sweeps,
                               {{"error", "not enough memory to evaluate the line"}}, delimiter)
                  : R"({"error":"not enough memory to evaluate the line"})";
  const auto out_of_memory = [&] {
    any_error = true;
    return no_memory_line;
  };

  unsigned jobs =
      command.jobs != 0 ? command.jobs : std::max(1u, std::thread::hardware_concurrency());
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  jobs = 1;  // no threads in this build
#endif
  std::optional<zr::OrderedPool> pool;
  if (jobs > 1) {
    try {
      pool.emplace(jobs, Write, kMaxHeldLineBytes);
    } catch (const std::exception& e) {
      std::cerr << "zeltano-eval: cannot start the jobs: " << e.what() << "\n";
      return zr::kExitInputOutput;
    }
    if (pool->threads() < jobs) {
      std::cerr << "zeltano-eval: note: the system allowed " << std::max(1u, pool->threads())
                << " of " << jobs << " jobs; going on with those\n";
    }
    if (pool->threads() == 0) pool.reset();
  }
  // Hands one result's text on: written at once, or through the pool.
  // `make` is always guarded (below), so it does not throw. `weight` is the
  // input bytes the run works on.
  const auto emit = [&](std::function<std::string()> make, std::size_t weight) {
    if (pool) return pool->Submit(std::move(make), weight);
    return Write(make());
  };
  const auto guarded = [&](std::function<std::string()> make) {
    return [make = std::move(make), &out_of_memory]() -> std::string {
      try {
        return make();
      } catch (const std::exception&) {
        return out_of_memory();
      }
    };
  };

  if (command.csv && !Write(zr::CsvHeader(command.sweeps, delimiter))) return zr::kExitInputOutput;
  const std::int64_t points = PointCount(command.sweeps);
  zr::LineReader reader(*std::cin.rdbuf(), zr::kMaxLineBytes);
  std::string line;
  std::uint64_t line_number = 0;
  bool written = true;
  while (written) {
    zr::LineReader::Status status;
    try {
      status = reader.Next(line);
    } catch (const std::exception& e) {
      if (pool) pool->Finish();
      std::cerr << "zeltano-eval: cannot read the input: " << e.what() << "\n";
      return zr::kExitInputOutput;
    }
    if (status == zr::LineReader::Status::kEnd) break;
    ++line_number;
    std::variant<zr::InputTexts, zr::LineResult> read = status == zr::LineReader::Status::kTooLong
                                                            ? zr::TooLongLineResult()
                                                            : zr::ReadLine(line, format);
    if (auto* error = std::get_if<zr::LineResult>(&read)) {
      written =
          emit(guarded([&, n = line_number, r = std::move(*error)] { return text_of(n, r); }), 0);
      continue;
    }
    const auto texts = std::make_shared<const zr::InputTexts>(std::get<zr::InputTexts>(read));
    for (std::int64_t p = 0; p < points && written; ++p) {
      written = emit(guarded([&, texts, p, n = line_number] {
                       zr::LineOptions options{command.analysis, PointOf(command.sweeps, p, format),
                                               command.risk, command.risk_runs, command.risk_seed};
                       options.chart = !command.csv;  // a CSV row has no chart
                       return text_of(n, zr::EvaluateTexts(*texts, format, options));
                     }),
                     line.size());
    }
  }
  if (pool && !pool->Finish()) written = false;
  if (!written) return zr::kExitInputOutput;
  return any_error ? zr::kExitLineError : zr::kExitOk;
}

// --variants: the lines (at most one more than a comparison takes, enough
// to tell that there are too many) compared in one output line.
int CompareLines(const zr::EvalCommandLine& command) {
  zr::LineReader reader(*std::cin.rdbuf(), zr::kMaxLineBytes);
  std::vector<std::string> lines;
  std::string line;
  bool too_long = false;
  try {
    for (;;) {
      const zr::LineReader::Status status = reader.Next(line);
      if (status == zr::LineReader::Status::kEnd) break;
      if (status == zr::LineReader::Status::kTooLong) too_long = true;
      if (lines.size() <= zr::kMaxVariants) lines.push_back(line);
    }
  } catch (const std::exception& e) {
    std::cerr << "zeltano-eval: cannot read the input: " << e.what() << "\n";
    return zr::kExitInputOutput;
  }
  bool error = false;
  std::string text;
  if (too_long) {
    error = true;
    text = zr::LineText(zr::TooLongLineResult());
  } else {
    text = zr::EvaluateVariantLines(lines, command.format, error);
  }
  if (!Write(text)) return zr::kExitInputOutput;
  return error ? zr::kExitLineError : zr::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Blocks of a long line's size are given back to the system when freed,
  // rather than kept by each thread's arena: otherwise every job would hold
  // the most it ever needed for one line (about 60 MB for a 16 MiB line).
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  // Standard input is read in chunks, not character by character.
  std::ios::sync_with_stdio(false);
#ifdef SIGPIPE
  // A reader that goes away is a failed write like any other: reported, and
  // status 3, rather than a silent end by the signal.
  std::signal(SIGPIPE, SIG_IGN);
#endif

  const zr::EvalCommandLine command =
      zr::ParseEvalCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
  errno = 0;
  switch (command.action) {
    case zr::EvalCommandLine::Action::kHelp:
      std::cout << zr::EvalUsageText();
      return Flushed() ? zr::kExitOk : zr::kExitInputOutput;
    case zr::EvalCommandLine::Action::kVersion:
      std::cout << zr::EvalVersionText();
      return Flushed() ? zr::kExitOk : zr::kExitInputOutput;
    case zr::EvalCommandLine::Action::kUsageError:
      std::cerr << "zeltano-eval: " << command.error << "\n"
                << "Try 'zeltano-eval --help' for more information.\n";
      return zr::kExitUsage;
    case zr::EvalCommandLine::Action::kEvaluate:
      break;
  }
  return command.variants ? CompareLines(command) : EvaluateLines(command);
}
