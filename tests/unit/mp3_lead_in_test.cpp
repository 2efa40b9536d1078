// What the Windows build cuts from the ACM codec's output: checked here with libmpg123, which
// decodes both ways. Decoding from the first audio frame with nothing cut and then applying the
// cut must give exactly the samples SDL_mixer plays.
#include "platform/mp3_lead_in.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "support/mp3_decode.h"
#include "tools/forge/music/music_encode.h"

namespace {

using platform::Mp3LeadIn;
using platform::readMp3LeadIn;

Mp3LeadIn leadIn(const std::vector<uint8_t>& bytes) {
  return readMp3LeadIn(bytes.data(), bytes.size());
}

// The forge's encoder on two seconds of a sweep with a click at 1.000 s.
const std::vector<uint8_t>& forgedMp3() {
  static const std::vector<uint8_t> mp3 = [] {
    std::vector<int16_t> pcm(2 * 88200);
    for (size_t i = 0; i < pcm.size() / 2; ++i) {
      const double t = i / 44100.0;
      pcm[2 * i] = pcm[2 * i + 1] = int16_t(6000 * std::sin(2 * M_PI * (200 + 400 * t) * t));
    }
    pcm[2 * 44100] = pcm[2 * 44100 + 1] = 30000;
    std::string error;
    return music::encodeMp3(pcm, error);
  }();
  return mp3;
}

// Plain decode from the first audio frame, then the cut: SDL_mixer's samples exactly.
void expectCutMatchesSdlMixer(const std::vector<uint8_t>& mp3, const std::string& what) {
  SCOPED_TRACE(what);
  const Mp3LeadIn lead = leadIn(mp3);
  ASSERT_TRUE(lead.found);
  std::string error;
  const std::vector<int16_t> played = decodeMp3(mp3, error, Mp3Trim::AsSdlMixer);
  const std::vector<int16_t> plain = decodeMp3(
      std::vector<uint8_t>(mp3.begin() + long(lead.audioOffset), mp3.end()), error, Mp3Trim::None);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_GE(plain.size(), 2 * size_t(lead.cutStart + lead.cutEnd));
  const std::vector<int16_t> cut(plain.begin() + 2 * long(lead.cutStart),
                                 plain.end() - 2 * long(lead.cutEnd));
  ASSERT_EQ(cut.size(), played.size());
  EXPECT_TRUE(cut == played);
}

TEST(Mp3LeadIn, TheForgesLameTagGivesTheCutSdlMixerMakes) {
  const std::vector<uint8_t>& mp3 = forgedMp3();
  ASSERT_FALSE(mp3.empty());
  const Mp3LeadIn lead = leadIn(mp3);
  EXPECT_TRUE(lead.infoFrame);
  EXPECT_TRUE(lead.lameTag);
  EXPECT_EQ(lead.encoderDelay, 576u);
  EXPECT_EQ(lead.cutStart, 576u + 529u);
  EXPECT_EQ(lead.audioOffset, 626u) << "after the Info frame of a 192 kbps frame";
  EXPECT_EQ(lead.sampleRate, 44100);
  EXPECT_EQ(lead.channels, 2);
  EXPECT_EQ(lead.bitrateKbps, 192);
  EXPECT_EQ(lead.frameBytes, 626);
  std::string error;
  EXPECT_EQ(decodeMp3(mp3, error).size(), 2u * 88200u) << "SDL_mixer plays the input's length";
  expectCutMatchesSdlMixer(mp3, "as forged");

  // An ID3v2 tag in front, whose body holds what looks like a frame header.
  std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 100};
  tagged.resize(110, 0xFF);
  tagged.insert(tagged.end(), mp3.begin(), mp3.end());
  EXPECT_EQ(leadIn(tagged).audioOffset, 110u + 626u);
  EXPECT_EQ(leadIn(tagged).cutStart, lead.cutStart);
  expectCutMatchesSdlMixer(tagged, "behind an ID3v2 tag");
}

TEST(Mp3LeadIn, OtherTagsGiveTheCutLibmpg123Makes) {
  const std::vector<uint8_t>& mp3 = forgedMp3();
  const Mp3LeadIn lead = leadIn(mp3);
  ASSERT_TRUE(lead.lameTag);

  // The LAME tag's first byte (the encoder's name) zero: an Info frame with no tag after it.
  std::vector<uint8_t> noTag = mp3;
  const size_t name = std::string(mp3.begin(), mp3.begin() + 626).find("LAME");
  ASSERT_NE(name, std::string::npos);
  noTag[name] = 0;
  EXPECT_TRUE(leadIn(noTag).infoFrame);
  EXPECT_FALSE(leadIn(noTag).lameTag);
  EXPECT_EQ(leadIn(noTag).cutStart, 529u);
  EXPECT_EQ(leadIn(noTag).cutEnd, 0u);
  expectCutMatchesSdlMixer(noTag, "Info frame without a LAME tag");

  // Other delay and padding in the tag: read from their 12-bit fields, cut as libmpg123 cuts.
  std::vector<uint8_t> otherDelay = mp3;
  otherDelay[name + 21] = 0x12, otherDelay[name + 22] = 0x34, otherDelay[name + 23] = 0x56;
  EXPECT_EQ(leadIn(otherDelay).encoderDelay, 0x123u);
  EXPECT_EQ(leadIn(otherDelay).encoderPadding, 0x456u);
  EXPECT_EQ(leadIn(otherDelay).cutEnd, 0x456u - 529u);
  expectCutMatchesSdlMixer(otherDelay, "delay 291, padding 1110");

  const std::vector<uint8_t> noInfo(mp3.begin() + long(lead.audioOffset), mp3.end());
  EXPECT_FALSE(leadIn(noInfo).infoFrame);
  EXPECT_EQ(leadIn(noInfo).audioOffset, 0u);
  EXPECT_EQ(leadIn(noInfo).cutStart, 0u);
  expectCutMatchesSdlMixer(noInfo, "no Info frame");
}

TEST(Mp3LeadIn, ALameTagThatDoesNotFitItsFrameIsNoTag) {
  // MPEG-2.5 at 12 kHz and 8 kbps, mono: 48-byte frames, too short for an Info frame's LAME tag.
  const std::vector<uint8_t> header = {0xFF, 0xE3, 0x14, 0xC0};
  std::vector<uint8_t> bytes;
  for (int frame = 0; frame < 3; ++frame) {
    bytes.insert(bytes.end(), header.begin(), header.end());
    bytes.resize(bytes.size() + 44, 0x55);
  }
  const std::string info = "Info";
  std::fill(bytes.begin() + 4, bytes.begin() + 13, 0);
  std::copy(info.begin(), info.end(), bytes.begin() + 13);
  std::fill(bytes.begin() + 17, bytes.begin() + 21, 0);
  const Mp3LeadIn lead = leadIn(bytes);
  ASSERT_TRUE(lead.found);
  EXPECT_TRUE(lead.infoFrame);
  EXPECT_FALSE(lead.lameTag) << "the next frame's bytes are no tag";
  EXPECT_EQ(lead.audioOffset, 48u);
  EXPECT_EQ(lead.cutStart, 529u);
  EXPECT_EQ(lead.sampleRate, 12000);
  EXPECT_EQ(lead.channels, 1);
  EXPECT_EQ(lead.bitrateKbps, 8);
}

TEST(Mp3LeadIn, CutOffOrDamagedBytesNeverReadOutsideTheInput) {
  const std::vector<uint8_t>& mp3 = forgedMp3();
  const Mp3LeadIn whole = leadIn(mp3);
  EXPECT_FALSE(readMp3LeadIn(nullptr, 10).found);
  // Cut anywhere in the first frames: no audio until the first audio frame's header is whole.
  for (size_t size = 0; size <= 3000; ++size) {
    const std::vector<uint8_t> cut(mp3.begin(), mp3.begin() + long(size));
    const Mp3LeadIn lead = leadIn(cut);
    EXPECT_EQ(lead.found, size >= whole.audioOffset + 4) << size;
    if (lead.found) {
      EXPECT_EQ(lead.cutStart, whole.cutStart) << size;
    }
  }
  // An ID3v2 tag claiming more bytes than there are.
  const std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 0xFF, 0xFB};
  EXPECT_FALSE(leadIn(tag).found);
  // Random damage to the first two frames: whatever is found lies inside the input.
  std::mt19937 random(14);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes(mp3.begin(), mp3.begin() + 1300 + round % 700);
    for (int flips = 0; flips < 4; ++flips) bytes[random() % 700] ^= uint8_t(1 << (random() % 8));
    const Mp3LeadIn lead = leadIn(bytes);
    if (!lead.found) continue;
    EXPECT_LE(lead.audioOffset + 4, bytes.size());
    EXPECT_LE(lead.cutStart, 529u + 4095u);
    EXPECT_GT(lead.frameBytes, 0);
  }
}

}  // namespace
