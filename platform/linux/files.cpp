// POSIX implementation of the file services, with the case-insensitive fall-back of files.h.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <utility>

namespace platform {
namespace {

// Whether the name leads to something (a dangling link does not).
bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Whether the folder holds an entry of that name, whatever it is.
bool nameExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// A new file in the folder of `target`, under a name no one else uses: made exclusively, without
// following a link. The name holds the process id and a counter; a name already taken (left by an
// earlier run, or placed there) is skipped.
int createPrivateFile(const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  const size_t slash = target.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char base[64];
    std::snprintf(base, sizeof base, ".demo-%ld-%u.part", long(::getpid()), counter++);
    name = dir + base;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string resolveName(const char* name) {
  std::string path(name ? name : "");
  if (path.empty() || nameExists(path)) return path;
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return path;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return path;
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, base.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  if (found.empty()) return path;
  return slash == std::string::npos ? found : dir + found;
}

File File::openRead(const char* name) {
  File f;
  const std::string path = resolveName(name);
  struct stat st;
  // Looked at before the open, so that a device is never opened; the open does not wait for a
  // pipe's writer, and what was opened is looked at again in case the name changed meanwhile.
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return f;
  f.fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (f.fd_ < 0) return f;
  if (::fstat(f.fd_, &st) != 0 || !S_ISREG(st.st_mode) ||
      ::fcntl(f.fd_, F_SETFL, ::fcntl(f.fd_, F_GETFL) & ~O_NONBLOCK) != 0)
    f.close();
  return f;
}

File File::create(const char* name) {
  File f;
  const std::string path = resolveName(name);
  struct stat st;
  if (path.empty()) return f;
  if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return f;
  }
  f.fd_ = createPrivateFile(path, f.pending_);
  if (f.fd_ < 0) {
    f.pending_.clear();
    return f;
  }
  f.target_ = path;
  return f;
}

size_t File::read(void* buffer, size_t size) {
  if (fd_ < 0) return 0;
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < size) {
    const ssize_t n = ::read(fd_, out + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

bool File::write(const void* buffer, size_t size) {
  if (fd_ < 0) return false;
  size_t done = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (done < size) {
    const ssize_t n = ::write(fd_, in + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      writeFailed_ = true;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool File::skip(int64_t distance) {
  if (fd_ < 0) return false;
  const int64_t pos = position();
  const int64_t end = size();
  if (pos < 0 || end < 0) return false;
  if ((distance < 0 && -distance > pos) || (distance > 0 && distance > end - pos)) return false;
  return ::lseek(fd_, pos + distance, SEEK_SET) >= 0;
}

int64_t File::size() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

int64_t File::position() const {
  return fd_ < 0 ? -1 : ::lseek(fd_, 0, SEEK_CUR);
}

bool File::close() {
  if (fd_ < 0) return false;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (pending_.empty()) return closed;
  // rename replaces the name itself: a link there is replaced, not followed.
  const bool kept = closed && !writeFailed_ && ::rename(pending_.c_str(), target_.c_str()) == 0;
  if (!kept) ::unlink(pending_.c_str());
  pending_.clear();
  return kept;
}

void File::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!pending_.empty()) ::unlink(pending_.c_str());
  pending_.clear();
}

bool deleteFile(const char* name) {
  const std::string path = resolveName(name);
  return !path.empty() && ::unlink(path.c_str()) == 0;
}

bool fileExists(const char* name) {
  return exists(resolveName(name));
}

bool setCurrentDirectory(const char* path) {
  const std::string resolved = resolveName(path);
  return !resolved.empty() && ::chdir(resolved.c_str()) == 0;
}

std::string currentDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

}  // namespace platform
