// MP3 frame headers, the Xing/Info frame and its LAME tag.
#include "platform/mp3_lead_in.h"

namespace platform {
namespace {

// Leading junk a decoder skips before giving up on a file, as libmpg123 does.
constexpr size_t kMaxJunk = 65536;

struct FrameHeader {
  int version = 0;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5 (the header's own bits)
  int sampleRate = 0;
  int channels = 0;
  int bitrateKbps = 0;
  int length = 0;  // bytes, with the padding byte
  int lengthWithoutPadding = 0;
  int sideInfoBytes = 0;
};

bool within(size_t offset, size_t count, size_t size) {
  return offset <= size && count <= size - offset;
}

// A Layer III header with a known bitrate (no free format) and sample rate.
bool parseHeader(const uint8_t* data, size_t size, size_t at, FrameHeader& h) {
  if (!within(at, 4, size)) return false;
  const uint8_t* p = data + at;
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int version = (p[1] >> 3) & 3;
  const int layer = (p[1] >> 1) & 3;
  const int bitrateIndex = p[2] >> 4;
  const int rateIndex = (p[2] >> 2) & 3;
  if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 ||
      (p[3] & 3) == 2)
    return false;
  static const int kMpeg1Kbps[15] = {0,   32,  40,  48,  56,  64,  80, 96,
                                     112, 128, 160, 192, 224, 256, 320};
  static const int kMpeg2Kbps[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kMpeg1Rates[3] = {44100, 48000, 32000};
  const bool mpeg1 = version == 3;
  const bool mono = (p[3] >> 6) == 3;
  h.version = version;
  h.sampleRate = kMpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  h.channels = mono ? 1 : 2;
  h.bitrateKbps = (mpeg1 ? kMpeg1Kbps : kMpeg2Kbps)[bitrateIndex];
  h.lengthWithoutPadding = (mpeg1 ? 144000 : 72000) * h.bitrateKbps / h.sampleRate;
  h.length = h.lengthWithoutPadding + ((p[2] >> 1) & 1);
  h.sideInfoBytes = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  return true;
}

bool sameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.sampleRate == b.sampleRate;
}

// The first header whose frame is followed by another of the same stream (or ends the data), so
// that a stray 0xFF in a tag or in junk is not taken for a frame.
bool findFirstFrame(const uint8_t* data, size_t size, size_t from, size_t& at, FrameHeader& h) {
  for (size_t i = from; i < size && i - from <= kMaxJunk; ++i) {
    if (!parseHeader(data, size, i, h)) continue;
    const size_t next = i + size_t(h.length);
    FrameHeader following;
    if (next == size || (parseHeader(data, size, next, following) && sameStream(h, following))) {
      at = i;
      return true;
    }
  }
  return false;
}

// Bytes of an ID3v2 tag at the start (header, body and footer), 0 when there is none.
size_t id3v2Length(const uint8_t* data, size_t size) {
  if (size < 10 || data[0] != 'I' || data[1] != 'D' || data[2] != '3') return 0;
  size_t body = 0;
  for (int i = 6; i < 10; ++i) body = (body << 7) | (data[i] & 0x7F);
  return 10 + body + ((data[5] & 0x10) ? 10 : 0);
}

uint32_t bigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Reads a Xing/Info frame at `at`; the LAME tag after its fields gives delay and padding (its
// first byte, the encoder's name, is zero when there is none).
bool readInfoFrame(const uint8_t* data, size_t size, size_t at, const FrameHeader& h,
                   Mp3LeadIn& out) {
  const size_t frameEnd = at + size_t(h.length) < size ? at + size_t(h.length) : size;
  size_t pos = at + 4 + size_t(h.sideInfoBytes);
  if (!within(pos, 8, frameEnd)) return false;
  const uint8_t* id = data + pos;
  const bool xing = id[0] == 'X' && id[1] == 'i' && id[2] == 'n' && id[3] == 'g';
  const bool info = id[0] == 'I' && id[1] == 'n' && id[2] == 'f' && id[3] == 'o';
  if (!xing && !info) return false;
  const uint32_t flags = bigEndian32(data + pos + 4);
  pos += 8;
  if (flags & 1) pos += 4;    // frame count
  if (flags & 2) pos += 4;    // byte count
  if (flags & 4) pos += 100;  // seek table
  if (flags & 8) pos += 4;    // quality
  constexpr size_t kLameTagBytes = 36;
  if (within(pos, kLameTagBytes, frameEnd) && data[pos] != 0) {
    const uint8_t* d = data + pos + 21;
    out.lameTag = true;
    out.encoderDelay = uint32_t(d[0]) << 4 | d[1] >> 4;
    out.encoderPadding = uint32_t(d[1] & 0x0F) << 8 | d[2];
  }
  return true;
}

}  // namespace

Mp3LeadIn readMp3LeadIn(const uint8_t* data, size_t size) {
  Mp3LeadIn out;
  if (!data) return out;
  const size_t tag = id3v2Length(data, size);
  size_t at = 0;
  FrameHeader h;
  if (tag > size || !findFirstFrame(data, size, tag, at, h)) return out;
  out.infoFrame = readInfoFrame(data, size, at, h, out);
  if (out.infoFrame) {
    at += size_t(h.length);
    if (!parseHeader(data, size, at, h)) return Mp3LeadIn{};
  }
  out.found = true;
  out.audioOffset = at;
  out.sampleRate = h.sampleRate;
  out.channels = h.channels;
  out.bitrateKbps = h.bitrateKbps;
  out.frameBytes = h.lengthWithoutPadding;
  if (out.infoFrame) out.cutStart = kMp3DecoderDelay + out.encoderDelay;
  if (out.encoderPadding > kMp3DecoderDelay) out.cutEnd = out.encoderPadding - kMp3DecoderDelay;
  return out;
}

}  // namespace platform
