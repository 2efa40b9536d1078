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
  // Paused before anything is written: buffers then wait in the queue until play().
  waveOutPause(device_);
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
    error = std::string(fileName) + ": " + std::to_string(music_.sampleRate) +
            " Hz, the device plays " + std::to_string(rateHz_) + " Hz";
    return false;
  }
  const size_t frames = music_.stereo.size() / 2;
  blocks_.resize((frames + kBlockFrames - 1) / kBlockFrames);
  for (size_t i = 0; i < blocks_.size(); ++i) {
    WAVEHDR& block = blocks_[i];
    const size_t first = i * kBlockFrames;
    const size_t count = std::min(kBlockFrames, frames - first);
    block.lpData = reinterpret_cast<LPSTR>(music_.stereo.data() + first * 2);
    block.dwBufferLength = DWORD(count * 4);
    MMRESULT r = waveOutPrepareHeader(device_, &block, sizeof block);
    if (r == MMSYSERR_NOERROR) r = waveOutWrite(device_, &block, sizeof block);
    if (r != MMSYSERR_NOERROR) {
      error = mmError("waveOutWrite", r);
      releaseBlocks();
      return false;
    }
  }
  return true;
}

bool WaveMusic::play() {
  if (!device_ || blocks_.empty()) return false;
  if (!started_) started_ = waveOutRestart(device_) == MMSYSERR_NOERROR;
  return started_;
}

}  // namespace platform::win32
