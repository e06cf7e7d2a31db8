#pragma once
// Standard input and output as the evaluator uses them: read and written
// straight through their file descriptors in large chunks, so neither the
// C library nor the C++ streams take them a character or a line at a time
// (in the WebAssembly build every call down there goes through node).

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Reads a file descriptor in chunks of up to 64 KiB, taking what a read(2)
// hands out (so a line typed or piped in is there without waiting for more).
// A read that fails throws std::runtime_error with the system's reason.
class DescriptorInput final : public std::streambuf {
 public:
  explicit DescriptorInput(int fd);

 protected:
  int_type underflow() override;

 private:
  int fd_;
  std::vector<char> buffer_;
};

// Collects output for a file descriptor and writes it on Flush().
class DescriptorOutput {
 public:
  explicit DescriptorOutput(int fd) : fd_(fd) {}

  void Append(std::string_view text) { held_ += text; }
  std::size_t Held() const { return held_.size(); }
  // Writes everything held; false, with errno saying why, when a write fails
  // (what was not written is dropped).
  bool Flush();

 private:
  int fd_;
  std::string held_;
};

}  // namespace zr
