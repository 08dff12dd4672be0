// The profile functions where the OS has none: IniDocument over a file that
// is read whole and replaced whole by a rename.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "platform/profile.h"

namespace talvor::platform {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return m_fd; }
  // Hands the descriptor back so its close can be checked.
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

enum class ReadOutcome { Read, Missing, Failed };

struct ReadResult {
  ReadOutcome outcome;
  std::string text;
  mode_t mode = 0;
};

ReadResult ReadWholeFile(const std::string& fileName) {
  // O_NONBLOCK: opening a FIFO left where the file should be must not hang.
  FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    return {errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed, {}};
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return {ReadOutcome::Failed, {}};

  ReadResult result{ReadOutcome::Read, {}, static_cast<mode_t>(info.st_mode & 07777)};
  char buffer[16384];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return {ReadOutcome::Failed, {}};
    }
    result.text.append(buffer, static_cast<std::size_t>(got));
  }
  return result;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::string DirectoryPart(const std::string& fileName) {
  const std::size_t slash = fileName.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return fileName.substr(0, slash);
}

// The file a rename must replace: a symbolic link stays a link and its target
// gets the new text.
std::string ResolveTarget(const std::string& fileName) {
  char* resolved = ::realpath(fileName.c_str(), nullptr);
  if (!resolved) return fileName;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

bool ReplaceFile(const std::string& fileName, const std::string& text, mode_t mode) {
  const std::string dir = DirectoryPart(fileName);
  const std::size_t slash = fileName.rfind('/');
  const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  std::string tempName = dir + "/." + base + ".XXXXXX";

  FileDescriptor fd(::mkstemp(tempName.data()));
  if (fd.Get() < 0) return false;
  ::fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);

  bool ok = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), text) && ::fsync(fd.Get()) == 0;
  ok = (::close(fd.Release()) == 0) && ok;
  ok = ok && ::rename(tempName.c_str(), fileName.c_str()) == 0;
  if (!ok) {
    ::unlink(tempName.c_str());
    return false;
  }
  // Makes the rename itself durable; the new text is already in place, so a
  // failure here is no failure of the write.
  FileDescriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.Get() >= 0) ::fsync(dirFd.Get());
  return true;
}

bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& fileName) {
  if (fileName.empty()) return false;
  const std::string target = ResolveTarget(fileName);
  ReadResult old = ReadWholeFile(target);
  // A file that exists but cannot be read is never replaced: its content
  // would be lost.
  if (old.outcome == ReadOutcome::Failed) return false;
  // A file the user made read-only stays as it is, as on Windows.
  if (old.outcome == ReadOutcome::Read && ::access(target.c_str(), W_OK) != 0) return false;

  IniDocument document(old.text);
  if (!document.Set(section, key, value)) return false;
  if (old.outcome == ReadOutcome::Read && document.Text() == old.text) return true;
  return ReplaceFile(target, document.Text(), old.outcome == ReadOutcome::Read ? old.mode : 0644);
}

}  // namespace

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& fileName) {
  // Reading settings is never worth an exception, not even out of memory on
  // an absurd file: the default is always a usable answer.
  try {
    const ReadResult file = ReadWholeFile(fileName);
    if (file.outcome != ReadOutcome::Read) return defaultValue;
    const std::optional<std::string> value = IniDocument(file.text).Get(section, key);
    return value ? ParseProfileInt(*value, defaultValue) : defaultValue;
  } catch (const std::exception&) {
    return defaultValue;
  }
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& fileName) {
  try {
    return WriteProfile(section, key, value, fileName);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace talvor::platform
