#pragma once
// Reads a stream line by line, as std::getline does, but never holds more
// than a set number of bytes of one line: the rest of a longer line is read
// past and dropped.

#include <cstddef>
#include <streambuf>
#include <string>
#include <vector>

namespace zr {

class LineReader {
 public:
  enum class Status {
    kLine,     // `line` holds the next line, without its line break
    kTooLong,  // the next line was longer than the limit; `line` is empty
    kEnd,      // no more input
  };

  LineReader(std::streambuf& in, std::size_t max_line_bytes);

  // A last line without a line break still counts; an empty input has no
  // line. Read errors come out as the stream buffer's exceptions.
  Status Next(std::string& line);

  // Whether the next line is already at hand, so that Next() will not wait
  // for input.
  bool HoldsLine() const;

 private:
  bool Fill();

  std::streambuf& in_;
  std::size_t max_line_bytes_;
  std::vector<char> chunk_;
  std::size_t begin_ = 0, end_ = 0;  // the unread part of chunk_
};

}  // namespace zr
