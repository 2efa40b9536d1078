// The music on Windows with nothing but what every Windows has: decoded whole through the ACM MP3
// codec when loaded, on a waveOut device at the music's own sample rate, and queued all at once
// when play() is called, so that its first sample is heard then: a buffer queued earlier on a
// paused device may start early on some drivers. It plays once and is never stopped by the program.
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
  // Reads and decodes the whole file and prepares its buffers; music at another sample rate than
  // the device's opens the device again at the music's rate. One file per device.
  bool load(const char* fileName, std::string& error);
  // Queues the music, which starts at once from its first sample, and returns once the device
  // reports that sample played (at most half a second later), so that a timer started next keeps
  // to what is heard. True once started; later calls change nothing.
  bool play();

  const DecodedMusic& music() const { return music_; }
  int deviceRateHz() const { return device_ ? rateHz_ : 0; }
  // Sample frames the device has played so far.
  uint32_t positionSamples() const;

 private:
  bool openDevice(int rateHz, std::string& error);
  void waitUntilHeard() const;
  void releaseBlocks();

  HWAVEOUT device_ = nullptr;
  int rateHz_ = 0;
  DecodedMusic music_;
  std::vector<WAVEHDR> blocks_;  // prepared at load, written at play; address-stable once filled
  bool started_ = false;
};

}  // namespace platform::win32
