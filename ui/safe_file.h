#pragma once
// Writing and reading the files the user names, so that nothing is lost.
//
// A regular file (or a new one) is replaced as a whole: the bytes go to a
// temporary file beside it, which is flushed to the disk, closed and only
// then renamed over the old one. A failure at any step (a full disk at the
// last flush included) removes the temporary file and leaves the old file
// as it was. A target that is not a regular file (a FIFO, a terminal,
// /dev/stdout, a device) is written to directly and never replaced.
//
// Reading takes regular files only, so a FIFO or a device named as a
// scenario is refused at once instead of blocking.
//
// Plain POSIX, no Qt; the reasons are Hungarian sentences for the user.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace zr {

struct FileFailure {
  std::string reason;  // one Hungarian sentence, ending in a full stop
};

// Writes `bytes` to `path` (in the file system's encoding): nullopt once
// every byte is on the disk, or why not.
std::optional<FileFailure> WriteFileSafely(const std::string& path, std::string_view bytes);

// The content of the regular file `path`, at most `max_bytes` + 1 bytes of
// it (so that the caller can tell a file that is too large), or why it
// cannot be read.
std::variant<std::string, FileFailure> ReadRegularFile(const std::string& path,
                                                       std::size_t max_bytes);

// The system calls the writer makes, replaceable so that tests can make a
// step fail the way a full disk or a broken device would.
struct FileSystemCalls {
  long (*write)(int fd, const void* data, std::size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};
FileSystemCalls RealFileSystemCalls();
// Returns the calls in force before; tests put them back when done.
FileSystemCalls SetFileSystemCallsForTesting(const FileSystemCalls& calls);

}  // namespace zr
