// zeltano-eval: one calculation run per input line, without a window.
#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <unistd.h>

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
#include "raw_io.h"
#include "variants_json.h"

namespace {

// The input bytes of the lines being evaluated or waiting to be written, all
// jobs together: a few long lines at a time rather than one per job, so the
// memory stays bounded whatever --jobs says (see the README).
constexpr std::size_t kMaxHeldLineBytes = std::size_t{64} << 20;

// Output lines are held and written together: before the input is read
// again when no further line is at hand (a program talking to zeltano-eval
// through pipes gets each answer before it sends the next line), and
// whenever this much is held.
constexpr std::size_t kHeldOutputBytes = std::size_t{64} << 10;

zr::DescriptorOutput& Output() {
  static zr::DescriptorOutput output(STDOUT_FILENO);
  return output;
}

// Reports a failed write (a full disk, say), since results that never
// arrive must not pass for success. Call with errno saying why.
bool WriteFailed() {
  std::cerr << "zeltano-eval: cannot write the output";
  if (errno != 0) std::cerr << ": " << std::strerror(errno);
  std::cerr << "\n";
  return false;
}

// Writes what is held; false, with a message, when that fails.
bool Flushed() {
  errno = 0;
  return Output().Flush() || WriteFailed();
}

// Flushes standard output's C++ stream (help and version texts); false,
// with a message, when that fails.
bool StreamFlushed() {
  errno = 0;
  std::cout.flush();
  return !std::cout.fail() || WriteFailed();
}

// Adds one output line, written at once when `now`; false, with a message,
// when a write fails.
bool Write(const std::string& text, bool now) {
  Output().Append(text);
  Output().Append("\n");
  return (!now && Output().Held() < kHeldOutputBytes) || Flushed();
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
    if (command.csv) {
      return zr::CsvErrorRow(line_number, command.sweeps.size(),
                             result.output.value("error", std::string()), delimiter);
    }
    return zr::LineText(result);
  };
  // The text for one point of a line: a CSV row is made from the run
  // itself, without the output object it never shows.
  const auto point_text = [&](std::uint64_t line_number, const zr::InputTexts& texts,
                              const zr::LineOptions& options) {
    if (!command.csv) return text_of(line_number, zr::EvaluateTexts(texts, format, options));
    std::variant<zr::RunOutcome, zr::LineResult> run = zr::RunTexts(texts, format, options);
    if (const auto* error = std::get_if<zr::LineResult>(&run)) return text_of(line_number, *error);
    return zr::CsvRow(line_number, options.overrides, std::get<zr::RunOutcome>(run), delimiter);
  };
  // One that needs no memory, when not even the error line could be made.
  const std::string no_memory_line =
      command.csv ? zr::CsvErrorRow(0, command.sweeps.size(),
                                    "not enough memory to evaluate the line", delimiter)
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
      pool.emplace(
          jobs, [](const std::string& text, bool more_ready) { return Write(text, !more_ready); },
          kMaxHeldLineBytes);
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
    return Write(make(), false);
  };
  const auto guarded = [&](auto make) {
    return [make = std::move(make), &out_of_memory]() -> std::string {
      try {
        return make();
      } catch (const std::exception&) {
        return out_of_memory();
      }
    };
  };

  if (command.csv && !Write(zr::CsvHeader(command.sweeps, delimiter), true)) {
    return zr::kExitInputOutput;
  }
  const std::int64_t points = PointCount(command.sweeps);
  // A sweep's points go out a few at a time, their lines together: one
  // point is too little work to hand to another thread on its own.
  constexpr std::int64_t kPointsPerTask = 32;
  // Answers one input line; false once the output fails. (Kept out of the
  // loop: in WebAssembly the function that holds the loop runs once, and
  // optimising it while the lines go by only delays the exit.)
  const auto answer = [&](zr::LineReader::Status status, const std::string& line,
                          std::uint64_t line_number) __attribute__((noinline)) {
    std::variant<zr::InputTexts, zr::LineResult> read = status == zr::LineReader::Status::kTooLong
                                                            ? zr::TooLongLineResult()
                                                            : zr::ReadLine(line, format);
    if (auto* error = std::get_if<zr::LineResult>(&read)) {
      return emit(guarded([&, n = line_number, r = std::move(*error)] { return text_of(n, r); }),
                  0);
    }
    const auto texts = std::make_shared<const zr::InputTexts>(std::get<zr::InputTexts>(read));
    // The text of point p, never throwing.
    const auto point = [&, texts, n = line_number](std::int64_t p) {
      return guarded([&] {
        zr::LineOptions options{command.analysis, PointOf(command.sweeps, p, format), command.risk,
                                command.risk_runs, command.risk_seed};
        options.chart = !command.csv;  // a CSV row has no chart
        return point_text(n, *texts, options);
      })();
    };
    bool written = true;
    for (std::int64_t first = 0; first < points && written; first += kPointsPerTask) {
      const std::int64_t end = std::min(points, first + kPointsPerTask);
      written = emit(
          [&, point, first, end]() -> std::string {
            std::string lines;
            try {
              for (std::int64_t p = first; p < end; ++p) {
                if (p > first) lines += '\n';
                lines += point(p);
              }
            } catch (const std::exception&) {  // not even room to join them
              lines.clear();
              for (std::int64_t p = first; p < end; ++p) {
                if (p > first) lines += '\n';
                lines += out_of_memory();
              }
            }
            return lines;
          },
          line.size());
    }
    return written;
  };
  // The lines one by one; the exit status. (Small, and kept apart from
  // the set-up above, for the same reason as `answer`.)
  const auto answer_all = [&]() __attribute__((noinline)) {
    zr::DescriptorInput input(STDIN_FILENO);
    zr::LineReader reader(input, zr::kMaxLineBytes);
    std::string line;
    std::uint64_t line_number = 0;
    bool written = true;
    while (written) {
      if (!pool && !reader.HoldsLine() && !Flushed()) return zr::kExitInputOutput;
      zr::LineReader::Status status;
      try {
        status = reader.Next(line);
      } catch (const std::exception& e) {
        if (pool) pool->Finish();
        Flushed();
        std::cerr << "zeltano-eval: cannot read the input: " << e.what() << "\n";
        return zr::kExitInputOutput;
      }
      if (status == zr::LineReader::Status::kEnd) break;
      written = answer(status, line, ++line_number);
    }
    if (pool && !pool->Finish()) written = false;
    if (!written || !Flushed()) return zr::kExitInputOutput;
    return any_error ? zr::kExitLineError : zr::kExitOk;
  };
  return answer_all();
}

// --variants: the lines (at most one more than a comparison takes, enough
// to tell that there are too many) compared in one output line.
int CompareLines(const zr::EvalCommandLine& command) {
  zr::DescriptorInput input(STDIN_FILENO);
  zr::LineReader reader(input, zr::kMaxLineBytes);
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
  if (!Write(text, true)) return zr::kExitInputOutput;
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
      return StreamFlushed() ? zr::kExitOk : zr::kExitInputOutput;
    case zr::EvalCommandLine::Action::kVersion:
      std::cout << zr::EvalVersionText();
      return StreamFlushed() ? zr::kExitOk : zr::kExitInputOutput;
    case zr::EvalCommandLine::Action::kUsageError:
      std::cerr << "zeltano-eval: " << command.error << "\n"
                << "Try 'zeltano-eval --help' for more information.\n";
      return zr::kExitUsage;
    case zr::EvalCommandLine::Action::kEvaluate:
      break;
  }
  return command.variants ? CompareLines(command) : EvaluateLines(command);
}
