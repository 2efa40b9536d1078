// The music on Windows with nothing but what every Windows has: decoded whole through the ACM MP3
// codec when loaded, queued on a paused waveOut device, and started with one call, so that its
// first sample is heard when play() is called. It plays once and is never stopped by the program.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/acm_mp3.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which leaves the multimedia API out in its lean form.
#include <mmsystem.h>

namespace platform::win32 {

class WaveMusic {
 public:
  WaveMusic() = default;
  ~WaveMusic();
  WaveMusic(const WaveMusic&) = delete;
  WaveMusic& operator=(const WaveMusic&) = delete;

  // Opens the system's default output for 16-bit stereo PCM at `rateHz`. False with the reason
  // when there is no device (the presentation then runs silently).
  bool open(int rateHz, std::string& error);
  // Reads and decodes the whole file and queues it on the paused device. One file per device.
  bool load(const char* fileName, std::string& error);
  // Starts the queued music from its first sample. True once started; later calls change nothing.
  bool play();

  const DecodedMusic& music() const { return music_; }

 private:
  void releaseBlocks();

  HWAVEOUT device_ = nullptr;
  int rateHz_ = 0;
  DecodedMusic music_;
  std::vector<WAVEHDR> blocks_;  // prepared and written; address-stable once filled
  bool started_ = false;
};

}  // namespace platform::win32
