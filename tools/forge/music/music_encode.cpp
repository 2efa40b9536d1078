// MP3 and WAV writers for the music.
#include "tools/forge/music/music_encode.h"

#include <lame/lame.h>

#include <cstring>
#include <memory>

#include "tools/forge/music/music_dsp.h"

namespace music {
namespace {

struct LameCloser {
  void operator()(lame_global_flags* gf) const { lame_close(gf); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

bool configure(lame_global_flags* gf) {
  lame_set_num_channels(gf, 2);
  lame_set_in_samplerate(gf, kRate);
  lame_set_out_samplerate(gf, kRate);
  lame_set_mode(gf, JOINT_STEREO);
  lame_set_VBR(gf, vbr_off);
  lame_set_brate(gf, 192);
  lame_set_quality(gf, 2);
  lame_set_write_id3tag_automatic(gf, 0);
  lame_set_bWriteVbrTag(gf, 1);
  return lame_init_params(gf) >= 0;
}

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& pcm, std::string& error) {
  Lame gf(lame_init());
  if (!gf || !configure(gf.get())) {
    error = "libmp3lame refused the encoder settings";
    return {};
  }
  const int frames = static_cast<int>(pcm.size() / 2);
  std::vector<uint8_t> out(static_cast<size_t>(frames) * 5 / 4 + 7200 + 16384);
  const int written = lame_encode_buffer_interleaved(
      gf.get(), const_cast<short*>(reinterpret_cast<const short*>(pcm.data())), frames, out.data(),
      static_cast<int>(out.size()));
  if (written < 0) {
    error = "libmp3lame failed to encode (code " + std::to_string(written) + ")";
    return {};
  }
  const int flushed =
      lame_encode_flush(gf.get(), out.data() + written, static_cast<int>(out.size()) - written);
  if (flushed < 0) {
    error = "libmp3lame failed to flush (code " + std::to_string(flushed) + ")";
    return {};
  }
  out.resize(static_cast<size_t>(written + flushed));
  // LAME left its first frame blank for the info tag (delay, padding, length); fill it in now.
  unsigned char tag[4096];
  const size_t tagSize = lame_get_lametag_frame(gf.get(), tag, sizeof tag);
  if (tagSize == 0 || tagSize > out.size()) {
    error = "libmp3lame gave no info frame";
    return {};
  }
  std::memcpy(out.data(), tag, tagSize);
  return out;
}

std::vector<uint8_t> wavBytes(const std::vector<int16_t>& pcm) {
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  for (char c : std::string("RIFF")) out.push_back(static_cast<uint8_t>(c));
  putLe(out, 36 + dataBytes, 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  putLe(out, 16, 4);
  putLe(out, 1, 2);  // PCM
  putLe(out, 2, 2);  // channels
  putLe(out, kRate, 4);
  putLe(out, kRate * 4, 4);  // bytes per second
  putLe(out, 4, 2);          // bytes per frame
  putLe(out, 16, 2);         // bits per sample
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  putLe(out, dataBytes, 4);
  for (int16_t s : pcm) putLe(out, static_cast<uint16_t>(s), 2);
  return out;
}

}  // namespace music
