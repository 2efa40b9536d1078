// The music as the program hears it: the MP3 decoded through libmpg123 (SDL_mixer's decoder),
// checked for its length, its accents on the flash times, its bass, its tail, its loudness and
// true peak (libebur128), and byte-identical renders. The mastering tools are checked alone.
#include "tools/forge/music/music.h"

#include <ebur128.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <vector>

#include "support/mp3_decode.h"
#include "tools/forge/music/music_effects.h"
#include "tools/forge/music/music_encode.h"
#include "tools/forge/music/music_master.h"
#include "tools/forge/music/music_render.h"
#include "tools/forge/music/music_score.h"
#include "tools/forge/music/music_timing.h"

namespace {

constexpr double kRate = 44100.0;

// Running sum of the squared mono signal, so any window's energy is one subtraction.
class Energy {
 public:
  explicit Energy(const std::vector<int16_t>& pcm) : sum_(pcm.size() / 2 + 1, 0.0) {
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
      const double m = (pcm[i] + pcm[i + 1]) / 65536.0;
      sum_[i / 2 + 1] = sum_[i / 2] + m * m;
    }
  }
  long frames() const { return static_cast<long>(sum_.size()) - 1; }
  double between(long a, long b) const {
    a = std::clamp(a, 0L, frames());
    b = std::clamp(b, 0L, frames());
    return sum_[b] - sum_[a];
  }
  // Mean level in dBFS over `lengthMs` from `ms`.
  double levelDb(double ms, double lengthMs) const {
    const long a = std::lround(ms * kRate / 1000.0);
    const long b = std::lround((ms + lengthMs) * kRate / 1000.0);
    return 10.0 * std::log10(between(a, b) / std::max(1L, b - a) + 1e-12);
  }

 private:
  std::vector<double> sum_;
};

struct Onset {
  double ms;
  double contrastDb;  // energy of the 10 ms after against the 10 ms before
};

// Energy-flux onset: where the level jumps most within `searchMs` of `targetMs`.
Onset strongestOnset(const Energy& e, double targetMs, double searchMs) {
  const long w = 441;
  Onset best{0.0, -1e9};
  const long from = std::lround((targetMs - searchMs) * kRate / 1000.0);
  const long to = std::lround((targetMs + searchMs) * kRate / 1000.0);
  for (long n = std::max(from, w); n <= to && n + w <= e.frames(); n += 4) {
    const double c = 10.0 * std::log10((e.between(n, n + w) + 1e-9) / (e.between(n - w, n) + 1e-9));
    if (c > best.contrastDb) best = {n * 1000.0 / kRate, c};
  }
  return best;
}

// Magnitude spectrum of `n` (a power of two) mono samples from `at`, under a Hann window.
std::vector<double> magnitudes(const std::vector<double>& mono, long at, size_t n) {
  std::vector<std::complex<double>> x(n);
  for (size_t i = 0; i < n; ++i) {
    const long k = at + static_cast<long>(i);
    const double s = k >= 0 && k < static_cast<long>(mono.size()) ? mono[k] : 0.0;
    x[i] = s * (0.5 - 0.5 * std::cos(2.0 * M_PI * i / n));
  }
  for (size_t i = 1, j = 0; i < n; ++i) {  // bit reversal, then radix-2 butterflies
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> w = std::polar(1.0, -2.0 * M_PI / len);
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> wk = 1.0;
      for (size_t k = 0; k < len / 2; ++k, wk *= w) {
        const std::complex<double> a = x[i + k], b = x[i + k + len / 2] * wk;
        x[i + k] = a + b;
        x[i + k + len / 2] = a - b;
      }
    }
  }
  std::vector<double> m(n / 2);
  for (size_t i = 0; i < m.size(); ++i) m[i] = std::abs(x[i]);
  return m;
}

std::vector<double> monoOf(const std::vector<int16_t>& pcm) {
  std::vector<double> mono(pcm.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = (pcm[2 * i] + pcm[2 * i + 1]) / 65536.0;
  return mono;
}

// Spectral flux of 10 ms windows at a 2 ms hop: the rise of the log-compressed magnitude summed
// over the bins, so that a hit must be new across the spectrum, not merely loud. The strength of an
// accent is the largest flux within 15 ms of its time over the median flux of the whole track.
std::vector<double> accentStrengths(const std::vector<double>& mono,
                                    const std::vector<double>& timesMs) {
  const long window = 441, hop = 88;
  std::vector<double> flux, previous;
  for (long at = 0; at + window <= static_cast<long>(mono.size()); at += hop) {
    std::vector<double> part(mono.begin() + at, mono.begin() + at + window);
    std::vector<double> m = magnitudes(part, 0, 512);
    for (double& v : m) v = std::log1p(100.0 * v);
    double rise = 0.0;
    for (size_t k = 0; k < m.size() && !previous.empty(); ++k) {
      rise += std::max(0.0, m[k] - previous[k]);
    }
    flux.push_back(rise);
    previous = m;
  }
  std::vector<double> sorted = flux;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const double median = sorted[sorted.size() / 2];
  std::vector<double> strengths;
  for (double ms : timesMs) {
    double peak = 0.0;
    for (size_t i = 0; i < flux.size(); ++i) {
      // A window's flux is placed at its centre.
      const double centreMs = (i * hop + window / 2.0) * 1000.0 / kRate;
      if (std::fabs(centreMs - ms) <= 15.0) peak = std::max(peak, flux[i]);
    }
    strengths.push_back(peak / median);
  }
  return strengths;
}

struct SpectralLine {
  double hz = 0;
  double aboveDb = -100;  // over the median of its neighbourhood
  double levelDb = -200;  // dBFS of a sine of that power
};

// The narrowest, proudest line of the power spectrum averaged from `fromS` to `toS` between
// `lowHz` and `highHz`: each bin against the median of the bins 6 to 60 away on both sides.
SpectralLine strongestLine(const std::vector<double>& mono, double fromS, double toS, double lowHz,
                           double highHz) {
  const size_t n = 8192;
  std::vector<double> power(n / 2, 0.0);
  int count = 0;
  for (long at = std::lround(fromS * kRate); at + static_cast<long>(n) <= std::lround(toS * kRate);
       at += n / 2, ++count) {
    const std::vector<double> m = magnitudes(mono, at, n);
    for (size_t k = 0; k < m.size(); ++k) power[k] += m[k] * m[k];
  }
  SpectralLine best;
  const double binHz = kRate / n;
  const size_t low = static_cast<size_t>(lowHz / binHz), high = static_cast<size_t>(highHz / binHz);
  for (size_t k = std::max<size_t>(low, 60); k < high && k + 60 < power.size(); ++k) {
    std::vector<double> around;
    for (size_t d = 6; d <= 60; ++d) {
      around.push_back(power[k - d]);
      around.push_back(power[k + d]);
    }
    std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
    const double above =
        10.0 * std::log10((power[k] + 1e-30) / (around[around.size() / 2] + 1e-30));
    if (above > best.aboveDb) {
      // A full-scale sine under a Hann window peaks at n/4 in magnitude.
      const double amplitude = std::sqrt(power[k] / std::max(count, 1)) / (n / 4.0);
      best = {k * binHz, above, 20.0 * std::log10(amplitude + 1e-30)};
    }
  }
  return best;
}

class MusicTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    mp3_ = new std::vector<uint8_t>(makeMusicMp3(*error_));
    std::string decodeError;
    pcm_ = new std::vector<int16_t>(decodeMp3(*mp3_, decodeError));
    if (!decodeError.empty()) *error_ += "decode: " + decodeError;
  }
  static void TearDownTestSuite() {
    delete mp3_;
    delete pcm_;
  }
  void SetUp() override {
    ASSERT_FALSE(mp3_->empty()) << *error_;
    ASSERT_TRUE(error_->empty()) << *error_;
  }
  static double seconds() { return pcm_->size() / 2 / kRate; }

  static std::vector<uint8_t>* mp3_;
  static std::vector<int16_t>* pcm_;
  static std::string* error_;
};
std::vector<uint8_t>* MusicTest::mp3_ = nullptr;
std::vector<int16_t>* MusicTest::pcm_ = nullptr;
std::string* MusicTest::error_ = new std::string;

TEST_F(MusicTest, DecodesToTheFullLengthAndEndsInSilence) {
  EXPECT_GE(seconds(), 16.5);
  EXPECT_NEAR(seconds(), music::kMusicSeconds, 0.05);
  const Energy e(*pcm_);
  EXPECT_LT(e.levelDb(0.0, 20.0), -50.0) << "the rise starts out of silence";
  EXPECT_GT(e.levelDb(16500.0, 500.0), -30.0) << "the closing hit rings on";
  EXPECT_LT(e.levelDb(seconds() * 1000.0 - 150.0, 150.0), -70.0) << "the tail has died away";
}

TEST_F(MusicTest, EveryFlashTimeAndTheClosingHitIsAStrongOnset) {
  const Energy e(*pcm_);
  // Ordinary kick beats between the hits, for comparison.
  const music::BeatMap beats;
  std::vector<double> beatLevels;
  for (double b : {1.0, 2.0, 3.0, 5.0, 6.0, 9.0, 10.0, 13.0, 14.0, 23.0, 24.0, 30.0, 31.0, 32.0}) {
    beatLevels.push_back(e.levelDb(beats.ms(b), 80.0));
  }
  std::sort(beatLevels.begin(), beatLevels.end());
  const double medianBeat = beatLevels[beatLevels.size() / 2];
  for (double hit : music::kHitTimesMs) {
    const Onset onset = strongestOnset(e, hit, 40.0);
    EXPECT_NEAR(onset.ms, hit, 3.0) << "hit at " << hit << " ms";
    EXPECT_GE(onset.contrastDb, 6.0) << "hit at " << hit << " ms";
    EXPECT_GE(e.levelDb(hit, 80.0), medianBeat + 3.0)
        << "hit at " << hit << " ms against the median beat level " << medianBeat << " dB";
  }
}

TEST_F(MusicTest, EveryAccentStandsOutOfWhatLeadsIntoIt) {
  const std::vector<double> times(music::kHitTimesMs.begin(), music::kHitTimesMs.end());
  const std::vector<double> strengths = accentStrengths(monoOf(*pcm_), times);
  std::string figures;
  for (size_t i = 0; i < times.size(); ++i) {
    figures +=
        std::to_string(static_cast<int>(times[i])) + ":" + std::to_string(strengths[i]) + " ";
    EXPECT_GE(strengths[i], 6.0) << "accent at " << times[i] << " ms, flux over the median";
  }
  RecordProperty("accent_flux", figures);
  std::printf("accent flux over the median: %s\n", figures.c_str());
}

TEST_F(MusicTest, NoSteadyToneStandsOutOfItsNeighbourhood) {
  // A fixed tone held through the groove (a whistle) is a narrow line in the long-term spectrum;
  // the notes move and the noise is broad, so nothing else comes near.
  const SpectralLine line = strongestLine(monoOf(*pcm_), 4.3, 15.5, 2000.0, 18000.0);
  std::printf("strongest line: %.1f Hz, %.1f dB over its neighbourhood, %.1f dBFS\n", line.hz,
              line.aboveDb, line.levelDb);
  EXPECT_LT(line.aboveDb, 10.0) << "a line at " << line.hz << " Hz, " << line.levelDb << " dBFS";
}

TEST_F(MusicTest, TheGrooveCarriesBass) {
  // Share of the energy below about 150 Hz over the groove (two cascaded one-pole low-passes).
  const double coef = 1.0 - std::exp(-2.0 * M_PI * 150.0 / kRate);
  double a = 0.0, b = 0.0, low = 0.0, all = 0.0;
  for (size_t i = 2 * 44100; i + 1 < 2 * 44100 * 16; i += 2) {
    const double m = ((*pcm_)[i] + (*pcm_)[i + 1]) / 65536.0;
    a += coef * (m - a);
    b += coef * (a - b);
    low += b * b;
    all += m * m;
  }
  EXPECT_GT(low / all, 0.25);
  EXPECT_LT(low / all, 0.95) << "there must be more than rumble";
}

TEST_F(MusicTest, DecodedFileMeetsTheLoudnessTargetAndTruePeak) {
  // What the listener gets: the codec's overshoot counts, so the decoded file is measured.
  ebur128_state* meter = ebur128_init(2, 44100, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
  ASSERT_NE(meter, nullptr);
  ASSERT_EQ(ebur128_add_frames_short(meter, pcm_->data(), pcm_->size() / 2), EBUR128_SUCCESS);
  double integrated = 0.0, left = 0.0, right = 0.0;
  ebur128_loudness_global(meter, &integrated);
  ebur128_true_peak(meter, 0, &left);
  ebur128_true_peak(meter, 1, &right);
  ebur128_destroy(&meter);
  const double peakDb = 20.0 * std::log10(std::max(left, right));
  std::printf("decoded: %.2f LUFS integrated, true peak %.2f dBTP\n", integrated, peakDb);
  EXPECT_NEAR(integrated, -14.0, 0.5);
  EXPECT_LE(peakDb, -1.0);
}

TEST_F(MusicTest, TwoRendersGiveIdenticalBytes) {
  std::string error;
  const std::vector<uint8_t> again = makeMusicMp3(error);
  EXPECT_TRUE(again == *mp3_) << "sizes " << again.size() << " and " << mp3_->size();
}

TEST(MusicTiming, BeatGridHitsEveryTimeAndStaysNear150Bpm) {
  const music::BeatMap beats;
  const auto& anchors = beats.anchors();
  for (double hit : music::kHitTimesMs) {
    if (hit == 12149) continue;  // the middle stutter hit falls between beats by design
    const bool anchored = std::any_of(anchors.begin(), anchors.end(),
                                      [&](const music::BeatMap::Anchor& a) { return a.ms == hit; });
    EXPECT_TRUE(anchored) << hit << " ms is not on the grid";
  }
  for (size_t i = 1; i < anchors.size(); ++i) {
    const double msPerBeat =
        (anchors[i].ms - anchors[i - 1].ms) / (anchors[i].beat - anchors[i - 1].beat);
    // The stutter (12000..12349) is the one place the grid may skip.
    if (anchors[i - 1].ms == 12000) continue;
    EXPECT_GT(msPerBeat, 360.0) << "between " << anchors[i - 1].ms << " and " << anchors[i].ms;
    EXPECT_LT(msPerBeat, 440.0) << "between " << anchors[i - 1].ms << " and " << anchors[i].ms;
    EXPECT_NEAR(beats.ms(anchors[i].beat), anchors[i].ms, 1e-9);
  }
  EXPECT_NEAR(beats.ms(-2.5), 0.0, 1e-9) << "the intro is two and a half beats";
}

music::StereoBuffer sine(double hz, double amplitude, double seconds) {
  music::StereoBuffer b(static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < b.frames(); ++i) {
    b.left[i] = b.right[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / kRate));
  }
  return b;
}

TEST(MusicTiming, GrooveMakesRoomForEveryHitAndFallsSilentInTheStutter) {
  const std::vector<float> gain = music::grooveDucking(music::toFrame(music::kMusicSeconds));
  auto at = [&](double ms) { return gain[music::toFrame(ms / 1000.0)]; };
  for (double hit : music::kHitTimesMs) {
    EXPECT_LT(at(hit), 0.3f) << hit;
    if (hit == 12149 || hit == 12349) {
      EXPECT_EQ(at(hit - 40.0), 0.0f) << hit;
    } else {
      EXPECT_GT(at(hit - 40.0), 0.9f) << "recovered before the gap of " << hit;
    }
  }
  EXPECT_EQ(at(12200.0), 0.0f);
  EXPECT_GT(at(12349.0 + 600.0), 0.95f) << "the peak comes back after the stutter";
  EXPECT_FLOAT_EQ(at(7500.0), 1.0f);
}

TEST(MusicEffects, EchoBouncesFromLeftToRightAndFades) {
  music::StereoBuffer send(44100);
  send.left[100] = send.right[100] = 1.0f;
  const music::StereoBuffer echo = music::applyPingPong(send, 0.1, 0.5);
  const size_t d = 4410;
  auto energy = [](const std::vector<float>& c, size_t from, size_t to) {
    double e = 0;
    for (size_t i = from; i < to; ++i) e += c[i] * c[i];
    return e;
  };
  EXPECT_GT(energy(echo.left, 100 + d, 100 + d + 200), 0.1) << "first repeat on the left";
  EXPECT_LT(energy(echo.right, 0, 100 + 2 * d), 1e-12) << "nothing on the right before it";
  EXPECT_GT(energy(echo.right, 100 + 2 * d, 100 + 2 * d + 200), 0.01) << "then on the right";
  EXPECT_LT(energy(echo.right, 100 + 2 * d, 100 + 2 * d + 200),
            energy(echo.left, 100 + d, 100 + d + 200));
}

TEST(MusicEffects, ReverbTailDecaysAndCompressorSparesQuietSignals) {
  music::StereoBuffer send(5 * 44100);
  send.left[10] = send.right[10] = 1.0f;
  const music::StereoBuffer tail = music::applyReverb(send, {0.9, 0.3});
  auto rms = [&](double from, double to) {
    double e = 0;
    for (long i = music::toFrame(from); i < music::toFrame(to); ++i)
      e += tail.left[i] * tail.left[i];
    return std::sqrt(e / (music::toFrame(to) - music::toFrame(from)));
  };
  EXPECT_GT(rms(0.05, 0.5), 0.0);
  EXPECT_LT(rms(4.0, 5.0), rms(0.05, 0.5) * 0.05) << "the tail dies instead of ringing";

  music::StereoBuffer quiet = sine(440.0, 0.01, 0.5), loud = sine(440.0, 0.9, 0.5);
  const float quietBefore = quiet.left[10000], loudBefore = loud.left[10000];
  music::compress(quiet, -20.0, 4.0, 0.005, 0.1);
  music::compress(loud, -20.0, 4.0, 0.005, 0.1);
  EXPECT_FLOAT_EQ(quiet.left[10000], quietBefore);
  EXPECT_LT(std::fabs(loud.left[10000]), std::fabs(loudBefore) * 0.5f);
}

TEST(MusicMaster, LoudnessReadsTheReferenceSineAndFloorsSilence) {
  // A 997 Hz sine on both channels reads its own level in dBFS (BS.1770's calibration).
  EXPECT_NEAR(music::integratedLoudness(sine(997.0, 0.1, 3.0)), -20.0, 0.1);
  EXPECT_EQ(music::integratedLoudness(music::StereoBuffer(44100)), -70.0);
  EXPECT_EQ(music::integratedLoudness(music::StereoBuffer(100)), -70.0) << "shorter than a block";
}

TEST(MusicMaster, LimiterHoldsTheCeilingAndLeavesQuietPartsAlone) {
  music::StereoBuffer x = sine(220.0, 0.2, 2.0);
  // Two sharp transients, one at the very start where the look-ahead has no past.
  for (size_t i : {size_t{3}, size_t{44100}}) x.left[i] = x.right[i + 1] = 1.8f;
  const std::vector<float> peaks = music::truePeaks(x);
  music::applyLimiter(x, peaks, 1.0, 0.5, 0.004, 0.05);
  const std::vector<float> after = music::truePeaks(x);
  EXPECT_LE(*std::max_element(after.begin(), after.end()), 0.5f * 1.02f);
  // Well away from the transients the sine passes (all but) untouched.
  for (size_t i : {size_t{30000}, size_t{80000}}) {
    EXPECT_NEAR(x.left[i], 0.2 * std::sin(2.0 * M_PI * 220.0 * i / kRate), 1e-5) << "frame " << i;
  }
}

TEST(MusicMaster, TruePeakSeesBetweenTheSamples) {
  // A quarter-rate sine sampled at 45 degrees never shows its crest on a sample.
  music::StereoBuffer x(4096);
  for (size_t i = 0; i < x.frames(); ++i) {
    x.left[i] = static_cast<float>(std::sin(M_PI / 2.0 * i + M_PI / 4.0));
  }
  const std::vector<float> peaks = music::truePeaks(x);
  EXPECT_NEAR(*std::max_element(x.left.begin(), x.left.end()), 0.7071f, 1e-3);
  EXPECT_GT(*std::max_element(peaks.begin(), peaks.end()), 0.97f);
}

TEST(MusicFiles, WavHeaderMatchesTheSamples) {
  const std::vector<int16_t> pcm = {1, -1, 32767, -32768};
  const std::vector<uint8_t> wav = music::wavBytes(pcm);
  ASSERT_EQ(wav.size(), 44u + 8u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(wav[4] | wav[5] << 8, 36 + 8);
  EXPECT_EQ(wav[22], 2) << "stereo";
  EXPECT_EQ(wav[24] | wav[25] << 8 | wav[26] << 16, 44100);
  EXPECT_EQ(wav[40], 8) << "data length";
  EXPECT_EQ(wav[44 + 4], 0xff);
  EXPECT_EQ(wav[44 + 5], 0x7f);
}

TEST(MusicFiles, EncoderDelayIsTrimmedSoAClickKeepsItsTime) {
  // Two seconds of silence with one click at 1.000 s.
  std::vector<int16_t> pcm(2 * 88200, 0);
  pcm[2 * 44100] = pcm[2 * 44100 + 1] = 20000;
  std::string error;
  const std::vector<uint8_t> mp3 = music::encodeMp3(pcm, error);
  ASSERT_FALSE(mp3.empty()) << error;
  const std::vector<int16_t> decoded = decodeMp3(mp3, error);
  ASSERT_TRUE(error.empty()) << error;
  EXPECT_EQ(decoded.size(), pcm.size()) << "the info frame gives delay and padding";
  size_t loudest = 0;
  for (size_t i = 0; i < decoded.size(); ++i) {
    if (std::abs(decoded[i]) > std::abs(decoded[loudest])) loudest = i;
  }
  EXPECT_NEAR(loudest / 2 / kRate * 1000.0, 1000.0, 1.0);
}

TEST(MusicFiles, UnwritablePathFailsAtOnceWithItsName) {
  std::string error;
  EXPECT_FALSE(writeMusicWav("/nonexistent-folder/music.wav", error));
  EXPECT_NE(error.find("/nonexistent-folder/music.wav"), std::string::npos) << error;
}

}  // namespace
