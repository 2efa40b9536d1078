// The parts of the file services that are the same on every system: ownership of the open file
// and whole-file reading. Each system's folder implements the rest.
#include "platform/files.h"

#include <utility>

namespace platform {

File::~File() {
  discard();
}

File::File(File&& other) noexcept
    : fd_(other.fd_),
      pending_(std::move(other.pending_)),
      target_(std::move(other.target_)),
      writeFailed_(other.writeFailed_) {
  other.fd_ = -1;
  other.pending_.clear();
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    discard();
    fd_ = other.fd_;
    pending_ = std::move(other.pending_);
    target_ = std::move(other.target_);
    writeFailed_ = other.writeFailed_;
    other.fd_ = -1;
    other.pending_.clear();
  }
  return *this;
}

bool readWholeFile(const char* name, std::vector<uint8_t>& out) {
  out.clear();
  File f = File::openRead(name);
  if (!f.isOpen()) return false;
  const int64_t size = f.size();
  if (size < 0) return false;
  out.resize(static_cast<size_t>(size));
  if (f.read(out.data(), out.size()) != out.size()) {
    out.clear();
    return false;
  }
  return true;
}

}  // namespace platform
