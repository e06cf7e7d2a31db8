#include "line_reader.h"

#include <algorithm>
#include <cstring>

namespace zr {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

}  // namespace

LineReader::LineReader(std::streambuf& in, std::size_t max_line_bytes)
    : in_(in), max_line_bytes_(max_line_bytes), chunk_(kChunkBytes) {}

// Takes what the stream has at hand (at least one byte, waiting for it if
// need be), so a line typed or piped in is answered before the next one
// arrives.
bool LineReader::Fill() {
  using traits = std::streambuf::traits_type;
  if (traits::eq_int_type(in_.sgetc(), traits::eof())) return false;
  const std::streamsize at_hand = std::max<std::streamsize>(in_.in_avail(), 1);
  const auto wanted = std::min<std::streamsize>(at_hand, static_cast<std::streamsize>(kChunkBytes));
  begin_ = 0;
  end_ = static_cast<std::size_t>(in_.sgetn(chunk_.data(), wanted));
  return end_ > 0;
}

bool LineReader::HoldsLine() const {
  return std::memchr(chunk_.data() + begin_, '\n', end_ - begin_) != nullptr;
}

LineReader::Status LineReader::Next(std::string& line) {
  line.clear();
  bool any = false;
  bool too_long = false;
  for (;;) {
    if (begin_ == end_ && !Fill()) break;
    any = true;
    const char* start = chunk_.data() + begin_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const std::size_t length = newline ? static_cast<std::size_t>(newline - start) : end_ - begin_;
    if (!too_long && line.size() + length > max_line_bytes_) {
      too_long = true;
      std::string().swap(line);  // give the memory back at once
    }
    if (!too_long) line.append(start, length);
    begin_ += length;
    if (newline) {
      ++begin_;
      break;
    }
  }
  if (!any) return Status::kEnd;
  return too_long ? Status::kTooLong : Status::kLine;
}

}  // namespace zr
