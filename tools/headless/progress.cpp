// The progress bar, redrawn in place with a carriage return.
#include "tools/headless/progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace headless {

Progress::Progress(size_t total)
    : total_(total),
      enabled_(isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_) {}

double Progress::framesPerSecond(size_t done) const {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  return seconds > 0.0 ? double(done) / seconds : 0.0;
}

void Progress::step(size_t done) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (done < total_ && drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  drawn_ = true;
  constexpr int kWidth = 30;
  const int filled = total_ ? int(done * kWidth / total_) : kWidth;
  const double fps = framesPerSecond(done);
  const long left = fps > 0.0 ? long(double(total_ - done) / fps + 0.5) : 0;
  std::fprintf(stderr, "\r[%s%s] %zu/%zu frames  %.1f fps  %ld:%02ld left ",
               std::string(filled, '#').c_str(), std::string(kWidth - filled, ' ').c_str(), done,
               total_, fps, left / 60, left % 60);
  std::fflush(stderr);
}

void Progress::finish() {
  if (enabled_ && drawn_) std::fputc('\n', stderr);
  drawn_ = false;
}

}  // namespace headless
