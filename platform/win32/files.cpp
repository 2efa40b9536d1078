// Win32 implementation of the file services. Names already match without regard to letter case on
// this system. A file is created under a fresh temporary name in its folder and renamed over its
// name when closed, so a link or reparse point already standing there is replaced, never written
// through.
#include "platform/files.h"

#include <atomic>
#include <string>

#include "platform/win32/windows_api.h"

namespace platform {
namespace {

HANDLE toHandle(intptr_t fd) {
  return reinterpret_cast<HANDLE>(fd);
}

bool isFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file in the folder of `target`, under a name no one else uses: made exclusively
// (CREATE_NEW), without following a reparse point standing at the name. The name holds the
// process id and a counter; a name already taken (left by a killed run whose process id came
// round again, or placed there) is passed over for the next.
HANDLE createPrivateFile(const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folderOf(target) + ".unpacking-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(counter++) + ".tmp";
    const HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

// The system matches names without regard to case already; this gives the spelling on disk, so
// that two spellings of one file compare equal.
std::string resolveName(const char* name) {
  if (!name) return std::string();
  const std::string path(name);
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return path;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name, &found);
  if (search == INVALID_HANDLE_VALUE) return path;
  FindClose(search);
  const size_t folderEnd = path.find_last_of("/\\:");
  return path.substr(0, folderEnd == std::string::npos ? 0 : folderEnd + 1) + found.cFileName;
}

File File::openRead(const char* name) {
  File f;
  if (!name || !*name || isFolder(name)) return f;
  HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return f;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return f;
  }
  f.fd_ = reinterpret_cast<intptr_t>(h);
  return f;
}

File File::create(const char* name) {
  File f;
  if (!name || !*name || isFolder(name)) return f;
  std::string temporary;
  const HANDLE h = createPrivateFile(name, temporary);
  if (h == INVALID_HANDLE_VALUE) return f;
  f.fd_ = reinterpret_cast<intptr_t>(h);
  f.target_ = name;
  f.pending_ = temporary;
  return f;
}

size_t File::read(void* buffer, size_t size) {
  if (fd_ < 0) return 0;
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < size) {
    const DWORD piece = DWORD(std::min<size_t>(size - done, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(toHandle(fd_), out + done, piece, &n, nullptr) || n == 0) break;
    done += n;
  }
  return done;
}

bool File::write(const void* buffer, size_t size) {
  if (fd_ < 0) return false;
  size_t done = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (done < size) {
    const DWORD piece = DWORD(std::min<size_t>(size - done, 1u << 30));
    DWORD n = 0;
    if (!WriteFile(toHandle(fd_), in + done, piece, &n, nullptr) || n == 0) {
      writeFailed_ = true;
      return false;
    }
    done += n;
  }
  return true;
}

bool File::skip(int64_t distance) {
  if (fd_ < 0) return false;
  const int64_t pos = position();
  const int64_t end = size();
  if (pos < 0 || end < 0) return false;
  if ((distance < 0 && -distance > pos) || (distance > 0 && distance > end - pos)) return false;
  LARGE_INTEGER to;
  to.QuadPart = pos + distance;
  return SetFilePointerEx(toHandle(fd_), to, nullptr, FILE_BEGIN) != 0;
}

int64_t File::size() const {
  LARGE_INTEGER s;
  if (fd_ < 0 || !GetFileSizeEx(toHandle(fd_), &s)) return -1;
  return int64_t(s.QuadPart);
}

int64_t File::position() const {
  LARGE_INTEGER zero{}, at{};
  if (fd_ < 0 || !SetFilePointerEx(toHandle(fd_), zero, &at, FILE_CURRENT)) return -1;
  return int64_t(at.QuadPart);
}

bool File::close() {
  if (fd_ < 0) return false;
  const bool closed = CloseHandle(toHandle(fd_)) != 0;
  fd_ = -1;
  if (pending_.empty()) return closed;
  // The rename replaces the directory entry itself: a link or reparse point at the name is
  // removed, what it pointed at is left alone.
  const bool renamed =
      closed && !writeFailed_ &&
      MoveFileExA(pending_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!renamed) DeleteFileA(pending_.c_str());
  pending_.clear();
  target_.clear();
  return renamed;
}

void File::discard() {
  if (fd_ < 0) return;
  CloseHandle(toHandle(fd_));
  fd_ = -1;
  if (!pending_.empty()) DeleteFileA(pending_.c_str());
  pending_.clear();
  target_.clear();
}

bool deleteFile(const char* name) {
  // DeleteFileA removes a link itself, never its target.
  return name && *name && DeleteFileA(name) != 0;
}

bool fileExists(const char* name) {
  return name && *name && GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

bool setCurrentDirectory(const char* path) {
  return path && *path && SetCurrentDirectoryA(path) != 0;
}

std::string currentDirectory() {
  char buffer[MAX_PATH];
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

}  // namespace platform
