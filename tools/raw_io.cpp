#include "raw_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zr {

DescriptorInput::DescriptorInput(int fd) : fd_(fd), buffer_(std::size_t{64} << 10) {}

DescriptorInput::int_type DescriptorInput::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  ssize_t n;
  do {
    n = ::read(fd_, buffer_.data(), buffer_.size());
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw std::runtime_error(std::strerror(errno));
  if (n == 0) return traits_type::eof();
  setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
  return traits_type::to_int_type(*gptr());
}

bool DescriptorOutput::Flush() {
  // The memory of an exceptionally long line is given back once it is out.
  struct Release {
    std::string& held;
    ~Release() {
      if (held.capacity() > (std::size_t{1} << 20)) std::string().swap(held);
      held.clear();
    }
  } release{held_};
  std::size_t done = 0;
  while (done < held_.size()) {
    const ssize_t n = ::write(fd_, held_.data() + done, held_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace zr
