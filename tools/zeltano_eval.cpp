// zeltano-eval: one calculation run per input line, without a window.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "line_reader.h"
#include "outcome_json.h"

namespace {

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

// The lines of standard input, each answered by one output line, flushed at
// once for programs that talk to zeltano-eval through pipes.
int EvaluateLines(const zr::NumberFormat& format) {
  zr::LineReader reader(*std::cin.rdbuf(), zr::kMaxLineBytes);
  bool any_error = false;
  std::string line;
  for (;;) {
    zr::LineReader::Status status;
    try {
      status = reader.Next(line);
    } catch (const std::exception& e) {
      std::cerr << "zeltano-eval: cannot read the input: " << e.what() << "\n";
      return zr::kExitInputOutput;
    }
    if (status == zr::LineReader::Status::kEnd) break;
    errno = 0;
    try {
      const zr::LineResult result = status == zr::LineReader::Status::kTooLong
                                        ? zr::TooLongLineResult()
                                        : zr::EvaluateLine(line, format);
      any_error = any_error || result.error;
      std::cout << result.output.dump(-1, ' ', false,
                                      nlohmann::ordered_json::error_handler_t::replace)
                << '\n';
    } catch (const std::exception&) {
      // Not even the error line could be made: write one that needs no memory.
      any_error = true;
      std::cout << "{\"error\":\"not enough memory to evaluate the line\"}\n";
    }
    if (!Flushed()) return zr::kExitInputOutput;
  }
  return any_error ? zr::kExitLineError : zr::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  // Standard input is read in chunks, not character by character.
  std::ios::sync_with_stdio(false);
#ifdef SIGPIPE
  // A reader that goes away is a failed write like any other: reported, and
  // status 3, rather than a silent end by the signal.
  std::signal(SIGPIPE, SIG_IGN);
#endif

  const zr::CommandLine command =
      zr::ParseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
  errno = 0;
  switch (command.action) {
    case zr::CommandLine::Action::kHelp:
      std::cout << zr::UsageText();
      return Flushed() ? zr::kExitOk : zr::kExitInputOutput;
    case zr::CommandLine::Action::kVersion:
      std::cout << zr::VersionText();
      return Flushed() ? zr::kExitOk : zr::kExitInputOutput;
    case zr::CommandLine::Action::kUsageError:
      std::cerr << "zeltano-eval: " << command.error << "\n"
                << "Try 'zeltano-eval --help' for more information.\n";
      return zr::kExitUsage;
    case zr::CommandLine::Action::kEvaluate:
      break;
  }
  return EvaluateLines(command.format);
}
