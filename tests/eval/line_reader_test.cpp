#include "line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "failing_allocation.h"

namespace zr {
namespace {

// Hands out its chunks one at a time, as a pipe does, and counts how often
// it was asked for more.
class ChunkedInput : public std::streambuf {
 public:
  explicit ChunkedInput(std::vector<std::string> chunks) : chunks_(std::move(chunks)) {}
  int Refills() const { return refills_; }

 protected:
  int_type underflow() override {
    ++refills_;
    if (next_ == chunks_.size()) return traits_type::eof();
    std::string& chunk = chunks_[next_++];
    setg(chunk.data(), chunk.data(), chunk.data() + chunk.size());
    return traits_type::to_int_type(chunk.front());
  }

 private:
  std::vector<std::string> chunks_;
  std::size_t next_ = 0;
  int refills_ = 0;
};

// "line" for a line, "!" for a line too long, then what is left at the end.
std::vector<std::string> ReadAll(std::vector<std::string> chunks, std::size_t max) {
  ChunkedInput input(std::move(chunks));
  LineReader reader(input, max);
  std::vector<std::string> out;
  std::string line = "stale";
  for (;;) {
    const LineReader::Status status = reader.Next(line);
    if (status == LineReader::Status::kEnd) break;
    out.push_back(status == LineReader::Status::kTooLong ? "!" + line : line);
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsAsGetlineDoesAndSkipsLongLines) {
  const struct {
    std::vector<std::string> chunks;
    Lines lines;
  } cases[] = {
      {{}, {}},
      {{"a\nb"}, {"a", "b"}},
      {{"a\n"}, {"a"}},
      {{"\n\n"}, {"", ""}},
      {{"a\r\n"}, {"a\r"}},
      {{std::string("a\0b\n", 4)}, {std::string("a\0b", 3)}},
      {{"ab", "c", "\nd", "e\n"}, {"abc", "de"}},
      // Limit 5: a line of 5 bytes is read, one of 6 is not.
      {{"12345\n123456\nx"}, {"12345", "!", "x"}},
      {{"123", "456", "789\n", "ok\n"}, {"!", "ok"}},
      {{"123456"}, {"!"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAll(c.chunks, 5), c.lines) << ::testing::PrintToString(c.chunks);
  }
}

// A line is answered with what has arrived: the reader does not wait for
// more input than the line needs (a program talking through a pipe would
// wait for the answer forever).
TEST(LineReader, ReturnsALineWithoutWaitingForTheNext) {
  ChunkedInput input({"{}\n", "{}\n"});
  LineReader reader(input, 100);
  std::string line;
  EXPECT_EQ(reader.Next(line), LineReader::Status::kLine);
  EXPECT_EQ(line, "{}");
  EXPECT_EQ(input.Refills(), 1);
}

// A line of 20 MiB against a limit of 1 MiB: read past, never held.
TEST(LineReader, NeverHoldsMoreThanTheLimit) {
  const std::size_t kMiB = 1 << 20;
  std::vector<std::string> chunks(20, std::string(kMiB, 'x'));
  chunks.push_back("\n{}\n");
  ChunkedInput input(std::move(chunks));
  LineReader reader(input, kMiB);
  std::string line;
  testing::AllocationWatch watch;
  EXPECT_EQ(reader.Next(line), LineReader::Status::kTooLong);
  EXPECT_LE(watch.Largest(), 2 * kMiB);
  EXPECT_EQ(reader.Next(line), LineReader::Status::kLine);
  EXPECT_EQ(line, "{}");
}

}  // namespace
}  // namespace zr
