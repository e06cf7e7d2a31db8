// Files the user names: a failure at any step of a write leaves the old file
// as it was and says why; FIFOs and devices are written in place, never
// replaced, and never read as scenarios.
#include "safe_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <future>
#include <string>

namespace zr::test {
namespace {

std::string Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

// The calls a test puts in force, put back when it ends.
class FaultyCalls {
 public:
  explicit FaultyCalls(const FileSystemCalls& calls)
      : before_(SetFileSystemCallsForTesting(calls)) {}
  ~FaultyCalls() { SetFileSystemCallsForTesting(before_); }

 private:
  FileSystemCalls before_;
};

long WriteFull(int, const void*, std::size_t) { return errno = ENOSPC, -1; }
// Takes part of the bytes, then finds the disk full: a short write first.
long WriteHalfThenFull(int fd, const void* data, std::size_t size) {
  static bool wrote = false;
  wrote = !wrote;
  if (!wrote) return errno = ENOSPC, -1;
  return ::write(fd, data, size / 2);
}
int FsyncFull(int) { return errno = ENOSPC, -1; }
int CloseIoError(int fd) { return ::close(fd), errno = EIO, -1; }
int RenameDenied(const char*, const char*) { return errno = EACCES, -1; }

struct StepFault {
  const char* name;
  FileSystemCalls calls;
  const char* reason;
};

class WriteFault : public ::testing::TestWithParam<StepFault> {};

TEST_P(WriteFault, LeavesTheOldFileAndNoTemporaryFileAndSaysWhy) {
  QTemporaryDir dir;
  const QString path = dir.filePath("regi.zeltano.json");
  ASSERT_FALSE(WriteFileSafely(path.toStdString(), "the old content"));
  {
    const FaultyCalls faulty(GetParam().calls);
    const auto failure = WriteFileSafely(path.toStdString(), std::string(100000, 'n'));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, GetParam().reason);
  }
  EXPECT_EQ(Read(path), "the old content");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"regi.zeltano.json"});
}

const FileSystemCalls kReal = RealFileSystemCalls();
INSTANTIATE_TEST_SUITE_P(
    AtEveryStep, WriteFault,
    ::testing::Values(StepFault{"Write",
                                {WriteFull, kReal.fsync, kReal.close, kReal.rename},
                                "Nincs elég szabad hely a lemezen."},
                      StepFault{"ShortWrite",
                                {WriteHalfThenFull, kReal.fsync, kReal.close, kReal.rename},
                                "Nincs elég szabad hely a lemezen."},
                      StepFault{"Flush",
                                {kReal.write, FsyncFull, kReal.close, kReal.rename},
                                "Nincs elég szabad hely a lemezen."},
                      StepFault{"Close",
                                {kReal.write, kReal.fsync, CloseIoError, kReal.rename},
                                "Írási hiba történt az eszközön."},
                      StepFault{"Rename",
                                {kReal.write, kReal.fsync, kReal.close, RenameDenied},
                                "Nincs jogosultság az íráshoz."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SafeFile, ReplacesTheFileALinkPointsToKeepingItsModeAndTheLink) {
  QTemporaryDir dir;
  const QString target = dir.filePath("valodi.json");
  const QString link = dir.filePath("link.json");
  ASSERT_FALSE(WriteFileSafely(target.toStdString(), "old"));
  ASSERT_EQ(::chmod(target.toLocal8Bit().constData(), 0640), 0);
  ASSERT_TRUE(QFile::link(target, link));
  ASSERT_FALSE(WriteFileSafely(link.toStdString(), "new"));
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(Read(target), "new");
  struct stat info {};
  ASSERT_EQ(::stat(target.toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(SafeFile, RefusesAFolderAndAMissingFolderWithTheirReasons) {
  QTemporaryDir dir;
  EXPECT_EQ(WriteFileSafely(dir.path().toStdString(), "x")->reason, "Ez egy mappa, nem fájl.");
  EXPECT_EQ(WriteFileSafely(dir.filePath("nincs/a.pdf").toStdString(), "x")->reason,
            "A mappa nem létezik.");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{});
}

// A FIFO is written into, for whoever reads it, and stays a FIFO; read as
// a scenario it is refused at once, with no writer at the other end.
TEST(SafeFile, AFifoIsWrittenInPlaceAndNeverReadAsAFile) {
  QTemporaryDir dir;
  const std::string fifo = dir.filePath("cso").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto reader = std::async(std::launch::async, [&] {
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    std::string got;
    char buffer[4096];
    for (long n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) got.append(buffer, n);
    ::close(fd);
    return got;
  });
  const std::string report(200000, 'r');
  EXPECT_FALSE(WriteFileSafely(fifo, report));
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_EQ(reader.get(), report);
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));

  auto read = std::async(std::launch::async, [&] { return ReadRegularFile(fifo, 1024); });
  ASSERT_EQ(read.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  const auto content = read.get();
  ASSERT_TRUE(std::holds_alternative<FileFailure>(content));
  EXPECT_EQ(std::get<FileFailure>(content).reason,
            "A fájl nem olvasható: nem közönséges fájl, hanem csővezeték (FIFO).");
}

TEST(SafeFile, ReadsARegularFileUpToOneByteOverTheLimit) {
  QTemporaryDir dir;
  const QString path = dir.filePath("f.json");
  ASSERT_FALSE(WriteFileSafely(path.toStdString(), std::string(10000, 'a')));
  EXPECT_EQ(std::get<std::string>(ReadRegularFile(path.toStdString(), 20000)).size(), 10000u);
  EXPECT_EQ(std::get<std::string>(ReadRegularFile(path.toStdString(), 100)).size(), 101u);
  EXPECT_EQ(std::get<FileFailure>(ReadRegularFile(dir.path().toStdString(), 100)).reason,
            "A fájl nem olvasható: ez egy mappa.");
  EXPECT_EQ(std::get<FileFailure>(ReadRegularFile(dir.filePath("x").toStdString(), 100)).reason,
            "A fájl nem olvasható: nem létezik.");
}

}  // namespace
}  // namespace zr::test
