// waveOut playback of the decoded music.
#include "platform/win32/wave_music.h"

#include <mmsystem.h>

#include <algorithm>

namespace platform::win32 {
namespace {

// A few large buffers: little work for the driver, and no single allocation the size of the song.
constexpr size_t kBlockFrames = 44100 * 4;

std::string mmError(const char* what, MMRESULT result) {
  char text[MAXERRORLENGTH] = {};
  waveOutGetErrorTextA(result, text, sizeof text);
  return std::string(what) + ": " + (text[0] ? text : "error") + " (MMRESULT " +
         std::to_string(result) + ")";
}

bool readFile(const char* fileName, std::vector<uint8_t>& bytes, std::string& error) {
  const HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error =
        std::string("cannot open ") + fileName + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (LONGLONG(1) << 30);
  if (ok) {
    bytes.resize(size_t(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() ||
         (ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
  }
  CloseHandle(file);
  if (!ok) error = std::string("cannot read ") + fileName;
  return ok;
}

}  // namespace

WaveMusic::~WaveMusic() {
  if (!device_) return;
  releaseBlocks();
  waveOutClose(device_);
}

void WaveMusic::releaseBlocks() {
  // Returns every queued buffer so that it can be unprepared.
  waveOutReset(device_);
  for (WAVEHDR& block : blocks_) waveOutUnprepareHeader(device_, &block, sizeof block);
  blocks_.clear();
}

bool WaveMusic::open(int rateHz, std::string& error) {
  if (device_) return true;
  return openDevice(rateHz, error);
}

bool WaveMusic::openDevice(int rateHz, std::string& error) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = DWORD(rateHz);
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  const MMRESULT r = waveOutOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
  if (r != MMSYSERR_NOERROR) {
    device_ = nullptr;
    error = mmError("waveOutOpen", r);
    return false;
  }
  rateHz_ = rateHz;
  return true;
}

bool WaveMusic::load(const char* fileName, std::string& error) {
  if (!blocks_.empty()) {
    error = "music already loaded";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!readFile(fileName, bytes, error)) return false;
  if (!decodeMp3(bytes, music_, error)) {
    error = std::string(fileName) + ": " + error;
    return false;
  }
  if (!device_) {
    error = "no audio device";
    return false;
  }
  if (music_.sampleRate != rateHz_) {
    // The device plays what it is given at its own rate: music at another rate would play too
    // fast or too slow, so the device follows the music.
    waveOutClose(device_);
    device_ = nullptr;
    if (!openDevice(music_.sampleRate, error)) return false;
  }
  const size_t frames = music_.stereo.size() / 2;
  blocks_.resize((frames + kBlockFrames - 1) / kBlockFrames);
  for (size_t i = 0; i < blocks_.size(); ++i) {
    WAVEHDR& block = blocks_[i];
    const size_t first = i * kBlockFrames;
    const size_t count = std::min(kBlockFrames, frames - first);
    block.lpData = reinterpret_cast<LPSTR>(music_.stereo.data() + first * 2);
    block.dwBufferLength = DWORD(count * 4);
    const MMRESULT r = waveOutPrepareHeader(device_, &block, sizeof block);
    if (r != MMSYSERR_NOERROR) {
      error = mmError("waveOutPrepareHeader", r);
      releaseBlocks();
      return false;
    }
  }
  return true;
}

bool WaveMusic::play() {
  if (!device_ || blocks_.empty()) return false;
  if (started_) return true;
  // The first write starts the device; the rest follow within microseconds, long before the
  // first buffer's four seconds are played.
  for (WAVEHDR& block : blocks_) {
    if (waveOutWrite(device_, &block, sizeof block) != MMSYSERR_NOERROR) break;
    started_ = true;
  }
  if (started_) waitUntilHeard();
  return started_;
}

void WaveMusic::waitUntilHeard() const {
  // Polled without sleeping: a sleep may last a whole tick of the system timer (15.6 ms).
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  do {
    if (positionSamples() > 0) return;
    SwitchToThread();
    QueryPerformanceCounter(&now);
  } while (now.QuadPart - start.QuadPart < frequency.QuadPart / 2);
}

uint32_t WaveMusic::positionSamples() const {
  if (!device_) return 0;
  MMTIME time{};
  time.wType = TIME_SAMPLES;
  if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
  return time.wType == TIME_SAMPLES ? time.u.sample : time.u.cb / 4;
}

}  // namespace platform::win32
