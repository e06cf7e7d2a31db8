#include "safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

namespace zr {

namespace {

long RealWrite(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int RealFsync(int fd) { return ::fsync(fd); }
int RealClose(int fd) { return ::close(fd); }
int RealRename(const char* from, const char* to) { return ::rename(from, to); }

FileSystemCalls& Calls() {
  static FileSystemCalls calls = RealFileSystemCalls();
  return calls;
}

// Why a write failed with `error`, for the user.
FileFailure WriteFailure(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return {"Nincs elég szabad hely a lemezen."};
    case EACCES:
    case EPERM:
      return {"Nincs jogosultság az íráshoz."};
    case EROFS:
      return {"A lemez csak olvasható."};
    case ENOENT:
      return {"A mappa nem létezik."};
    case ENOTDIR:
      return {"Az útvonal egyik tagja nem mappa."};
    case EISDIR:
      return {"Ez egy mappa, nem fájl."};
    case ENAMETOOLONG:
      return {"A fájlnév túl hosszú."};
    case EIO:
      return {"Írási hiba történt az eszközön."};
    default:
      return {"A rendszer hibát jelzett (hibakód: " + std::to_string(error) + ")."};
  }
}

// What kind of thing that is not a regular file `mode` describes.
std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "ez egy mappa";
  if (S_ISFIFO(mode)) return "nem közönséges fájl, hanem csővezeték (FIFO)";
  if (S_ISSOCK(mode)) return "nem közönséges fájl, hanem foglalat (socket)";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "nem közönséges fájl, hanem eszköz";
  return "nem közönséges fájl";
}

// Writes all of `bytes`; false with errno set when a write fails.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const long written = Calls().write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {  // no progress and no error: treat as a full device
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A target that is not a regular file: written to in place.
std::optional<FileFailure> WriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return WriteFailure(errno);
  const bool written = WriteAll(fd, bytes);
  const int write_error = errno;
  const bool closed = Calls().close(fd) == 0;
  if (!written) return WriteFailure(write_error);
  if (!closed) return WriteFailure(errno);
  return std::nullopt;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

FileSystemCalls RealFileSystemCalls() { return {RealWrite, RealFsync, RealClose, RealRename}; }

FileSystemCalls SetFileSystemCallsForTesting(const FileSystemCalls& calls) {
  const FileSystemCalls before = Calls();
  Calls() = calls;
  return before;
}

std::optional<FileFailure> WriteFileSafely(const std::string& path, std::string_view bytes) {
  if (path.empty()) return FileFailure{"Nincs megadva fájlnév."};
  std::string target = path;
  mode_t mode = 0666;  // a new file's, before the umask
  bool keep_mode = false;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return WriteFailure(EISDIR);
    if (!S_ISREG(existing.st_mode)) return WriteInPlace(path, bytes);
    // Through a link the file it points to is replaced, not the link.
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (real) target = real.get();
    mode = existing.st_mode & 07777;
    keep_mode = true;
  } else if (errno != ENOENT) {
    return WriteFailure(errno);
  } else {
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0) return WriteFailure(errno);
    if (!S_ISDIR(folder.st_mode)) return WriteFailure(ENOTDIR);
  }

  const std::string folder = FolderOf(target);
  const std::string name = target.substr(target.find_last_of('/') + 1);
  std::string temporary = folder + "/." + name + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return WriteFailure(errno);
  const auto fail = [&](int error, bool open) -> std::optional<FileFailure> {
    if (open) Calls().close(fd);
    ::unlink(temporary.c_str());
    return WriteFailure(error);
  };
  if (keep_mode) {
    if (::fchmod(fd, mode) != 0) return fail(errno, true);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, mode & ~mask) != 0) return fail(errno, true);
  }
  if (!WriteAll(fd, bytes)) return fail(errno, true);
  // The data must be on the disk before the name points to it: a full disk
  // or a failing device may only tell at this point.
  if (Calls().fsync(fd) != 0) return fail(errno, true);
  if (Calls().close(fd) != 0) return fail(errno, false);
  if (Calls().rename(temporary.c_str(), target.c_str()) != 0) return fail(errno, false);
  // The rename itself to the disk; the file is in place either way.
  const int folder_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    ::fsync(folder_fd);
    ::close(folder_fd);
  }
  return std::nullopt;
}

std::variant<std::string, FileFailure> ReadRegularFile(const std::string& path,
                                                       std::size_t max_bytes) {
  const auto refuse = [](const std::string& why) {
    return FileFailure{"A fájl nem olvasható: " + why + "."};
  };
  // Opened without blocking, so that a FIFO with no writer does not hang;
  // only then is the kind of file looked at, on what was opened.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    switch (errno) {
      case ENOENT:
        return refuse("nem létezik");
      case EACCES:
      case EPERM:
        return refuse("nincs jogosultság az olvasásához");
      case ENOTDIR:
        return refuse("az útvonal egyik tagja nem mappa");
      default:
        return refuse("a rendszer hibát jelzett (hibakód: " + std::to_string(errno) + ")");
    }
  }
  const std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* f) {
    ::close(*f);
    delete f;
  });
  struct stat info {};
  if (::fstat(fd, &info) != 0) return refuse("a rendszer hibát jelzett");
  if (!S_ISREG(info.st_mode)) return refuse(KindOf(info.st_mode));
  std::string content;
  const std::size_t wanted = max_bytes + 1;
  content.resize(std::min<std::size_t>(
      wanted, info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096));
  std::size_t got = 0;
  for (;;) {
    if (got == content.size()) {
      if (content.size() >= wanted) break;
      content.resize(std::min(wanted, content.size() * 2));
    }
    const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return refuse("olvasási hiba történt");
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  content.resize(got);
  return content;
}

}  // namespace zr
