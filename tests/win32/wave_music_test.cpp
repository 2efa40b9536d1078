// The music on Windows: the ACM decode puts a click where libmpg123 puts it on Linux, music at
// another sample rate plays at its own, and every failure (no file, no MP3, no device) is a
// reason, never a crash. Run under Wine by tests/win32/run_wave_music_test.sh, which makes the
// click files, names them here and gives the tests a device, or none for the silent path.
#include "platform/win32/wave_music.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::win32::DecodedMusic;
using platform::win32::WaveMusic;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A click file the script made; a test fails without it.
std::string clickFile(const char* variable) {
  const std::string path = environment(variable);
  if (path.empty())
    ADD_FAILURE() << variable << " names no click file: run the test through its script";
  return path;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string tempPath(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "wave_music_test_" + std::to_string(GetCurrentProcessId()) + "_" +
         name;
}

// The first frame where either channel reaches half the loudest sample.
size_t onsetFrame(const DecodedMusic& music) {
  int peak = 0;
  for (int16_t s : music.stereo) peak = std::max(peak, std::abs(int(s)));
  for (size_t i = 0; i < music.stereo.size(); ++i) {
    if (2 * std::abs(int(music.stereo[i])) >= peak) return i / 2;
  }
  return music.stereo.size();
}

// Two seconds with a click at 1.000 s, from LAME with its Info frame (encoder delay 576 samples,
// cut as libmpg123 cuts it), without one (nothing cut: libmpg123 too then plays the 576 + 529
// samples of encoder and decoder delay first), and in mono (played on both channels).
TEST(AcmMp3, TheClickComesOutWhereLibmpg123PutsIt) {
  struct Case {
    const char* variable;
    size_t onset;
    size_t frames;  // 0: not checked
    bool mono;
  };
  for (const Case& c : {Case{"WAVE_MUSIC_CLICK", 44100, 88200, false},
                        Case{"WAVE_MUSIC_CLICK_UNTAGGED", 44100 + 576 + 529, 0, false},
                        Case{"WAVE_MUSIC_CLICK_MONO", 44100, 88200, true}}) {
    const std::string path = clickFile(c.variable);
    if (path.empty()) return;
    DecodedMusic music;
    std::string error;
    ASSERT_TRUE(platform::win32::decodeMp3(readBytes(path), music, error)) << path << ": " << error;
    EXPECT_EQ(music.sampleRate, 44100);
    // Half a millisecond either way, so that the two platforms are within a millisecond.
    EXPECT_NEAR(double(onsetFrame(music)), double(c.onset), 22.0) << path;
    if (c.mono) {
      size_t i = 0;
      while (i < music.stereo.size() && music.stereo[i] == music.stereo[i + 1]) i += 2;
      EXPECT_EQ(i, music.stereo.size()) << "mono played unequally on the two channels";
    }
    if (c.frames) {
      EXPECT_EQ(music.stereo.size() / 2, c.frames) << path << ": padding cut too";
    }
  }
}

TEST(WaveMusic, AMissingOrBrokenFileIsAReason) {
  WaveMusic music;
  std::string error;
  const std::string missing = tempPath("missing.mp3");
  EXPECT_FALSE(music.load(missing.c_str(), error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  const std::string broken = tempPath("broken.mp3");
  std::ofstream(broken, std::ios::binary) << std::string(5000, '\xff') + "ID3 not music";
  error.clear();
  EXPECT_FALSE(music.load(broken.c_str(), error));
  EXPECT_NE(error.find("no MPEG Layer III audio"), std::string::npos) << error;

  // The first frames of a real file and then nothing: decoded as far as it goes, or refused.
  const std::string click = clickFile("WAVE_MUSIC_CLICK");
  if (!click.empty()) {
    std::vector<uint8_t> bytes = readBytes(click);
    bytes.resize(std::min<size_t>(bytes.size(), 1500));
    DecodedMusic cut;
    error.clear();
    if (!platform::win32::decodeMp3(bytes, cut, error)) {
      EXPECT_FALSE(error.empty());
    }
  }
  EXPECT_FALSE(music.play()) << "nothing loaded";
  DeleteFileA(broken.c_str());
}

// The device follows the music: the same samples at 44100 Hz would play 8 % slow and low.
TEST(WaveMusic, MusicAtAnotherRatePlaysAtItsOwn) {
  const std::string click = clickFile("WAVE_MUSIC_CLICK_48K");
  if (click.empty()) return;
  WaveMusic music;
  std::string error;
  ASSERT_TRUE(music.open(44100, error)) << error;
  ASSERT_TRUE(music.load(click.c_str(), error)) << error;
  EXPECT_EQ(music.music().sampleRate, 48000);
  EXPECT_EQ(music.deviceRateHz(), 48000);
  // Nothing is queued before play, so nothing is heard before it.
  Sleep(200);
  EXPECT_EQ(music.positionSamples(), 0u);
  ASSERT_TRUE(music.play());
  Sleep(300);
  EXPECT_GT(music.positionSamples(), 0u) << "the music does not play";
}

// With no sound device waveOut has none to open: the presentation runs silently.
TEST(WaveMusic, NoDeviceIsAReasonAndPlayDoesNothing) {
  ASSERT_FALSE(environment("WAVE_MUSIC_NO_DEVICE").empty())
      << "run with the audio drivers off (WAVE_MUSIC_NO_DEVICE=1), as the script does";
  WaveMusic music;
  std::string error;
  EXPECT_FALSE(music.open(44100, error));
  EXPECT_NE(error.find("waveOutOpen"), std::string::npos) << error;
  const std::string click = clickFile("WAVE_MUSIC_CLICK");
  if (!click.empty()) {
    error.clear();
    EXPECT_FALSE(music.load(click.c_str(), error));
    EXPECT_EQ(error, "no audio device");
  }
  EXPECT_FALSE(music.play());
}

}  // namespace
