// MP3 to PCM through the Audio Compression Manager, in blocks of whole frames.
#include "platform/win32/acm_mp3.h"

// clang-format off
#include "platform/win32/windows_api.h"
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
// clang-format on

#include <algorithm>
#include <cstring>

#include "platform/mp3_lead_in.h"

namespace platform::win32 {
namespace {

// Input per conversion call: a few hundred frames, so the output block stays near a megabyte.
constexpr size_t kInputBlockBytes = 64 * 1024;

std::string mmError(const char* what, MMRESULT result) {
  return std::string(what) + " failed (MMRESULT " + std::to_string(result) + ")";
}

class AcmStream {
 public:
  ~AcmStream() {
    if (prepared_) acmStreamUnprepareHeader(stream_, &header_, 0);
    if (stream_) acmStreamClose(stream_, 0);
  }

  bool open(const Mp3LeadIn& mp3, std::string& error) {
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = WORD(mp3.channels);
    source.wfx.nSamplesPerSec = DWORD(mp3.sampleRate);
    source.wfx.nAvgBytesPerSec = DWORD(mp3.bitrateKbps) * 1000 / 8;
    source.wfx.nBlockAlign = 1;
    source.wfx.wBitsPerSample = 0;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    source.nBlockSize = WORD(mp3.frameBytes);
    source.nFramesPerBlock = 1;
    source.nCodecDelay = 0;
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = WORD(mp3.channels);
    pcm.nSamplesPerSec = DWORD(mp3.sampleRate);
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = WORD(pcm.nChannels * 2);
    pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
    MMRESULT r = acmStreamOpen(&stream_, nullptr, &source.wfx, &pcm, nullptr, 0, 0, 0);
    if (r != MMSYSERR_NOERROR) {
      stream_ = nullptr;
      error = mmError("no MP3 codec: acmStreamOpen", r);
      return false;
    }
    DWORD outputBytes = 0;
    r = acmStreamSize(stream_, DWORD(kInputBlockBytes), &outputBytes, ACM_STREAMSIZEF_SOURCE);
    if (r != MMSYSERR_NOERROR || outputBytes == 0) {
      error = mmError("acmStreamSize", r);
      return false;
    }
    input_.resize(kInputBlockBytes);
    output_.resize(outputBytes);
    header_.cbStruct = sizeof header_;
    header_.pbSrc = input_.data();
    header_.cbSrcLength = DWORD(input_.size());
    header_.pbDst = output_.data();
    header_.cbDstLength = DWORD(output_.size());
    r = acmStreamPrepareHeader(stream_, &header_, 0);
    if (r != MMSYSERR_NOERROR) {
      error = mmError("acmStreamPrepareHeader", r);
      return false;
    }
    prepared_ = true;
    return true;
  }

  // Feeds all of `bytes`; the codec may leave the tail of a block for the next call, so that tail
  // is moved to the front and topped up. The last call flushes what the codec still holds.
  bool convert(const uint8_t* bytes, size_t size, std::vector<uint8_t>& pcm, std::string& error) {
    size_t pending = 0;  // bytes at the front of input_ not yet taken
    size_t next = 0;
    DWORD flags = ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_BLOCKALIGN;
    for (;;) {
      const size_t take = std::min(input_.size() - pending, size - next);
      std::memcpy(input_.data() + pending, bytes + next, take);
      next += take;
      pending += take;
      const bool last = next == size;
      if (last) flags = (flags & ACM_STREAMCONVERTF_START) | ACM_STREAMCONVERTF_END;
      header_.cbSrcLength = DWORD(pending);
      header_.cbDstLength = DWORD(output_.size());
      const MMRESULT r = acmStreamConvert(stream_, &header_, flags);
      if (r != MMSYSERR_NOERROR) {
        error = mmError("acmStreamConvert", r);
        return false;
      }
      flags &= ~DWORD(ACM_STREAMCONVERTF_START);
      pcm.insert(pcm.end(), output_.begin(), output_.begin() + header_.cbDstLengthUsed);
      const size_t used = std::min<size_t>(header_.cbSrcLengthUsed, pending);
      std::memmove(input_.data(), input_.data() + used, pending - used);
      pending -= used;
      // At the end, or when the codec neither took nor gave anything: what is left cannot be
      // decoded (a cut-off last frame).
      if (last && (pending == 0 || (used == 0 && header_.cbDstLengthUsed == 0))) return true;
      if (!last && used == 0 && header_.cbDstLengthUsed == 0 && pending == input_.size()) {
        error = "the MP3 codec took no input";
        return false;
      }
    }
  }

 private:
  HACMSTREAM stream_ = nullptr;
  ACMSTREAMHEADER header_{};
  bool prepared_ = false;
  std::vector<uint8_t> input_;
  std::vector<uint8_t> output_;
};

}  // namespace

bool decodeMp3(const std::vector<uint8_t>& mp3, DecodedMusic& out, std::string& error) {
  out = DecodedMusic{};
  const Mp3LeadIn lead = readMp3LeadIn(mp3.data(), mp3.size());
  if (!lead.found) {
    error = "no MPEG Layer III audio in the file";
    return false;
  }
  AcmStream stream;
  std::vector<uint8_t> pcm;
  if (!stream.open(lead, error) ||
      !stream.convert(mp3.data() + lead.audioOffset, mp3.size() - lead.audioOffset, pcm, error))
    return false;
  // Frames of the codec's output, then the cut; mono becomes two equal channels.
  const size_t channels = size_t(lead.channels);
  const size_t frames = pcm.size() / (2 * channels);
  const size_t first = std::min<size_t>(lead.cutStart, frames);
  const size_t end = std::max(first, frames - std::min<size_t>(lead.cutEnd, frames));
  if (end == first) {
    error = "the MP3 codec gave no samples";
    return false;
  }
  out.sampleRate = lead.sampleRate;
  out.stereo.resize((end - first) * 2);
  for (size_t f = first; f < end; ++f) {
    for (size_t c = 0; c < 2; ++c) {
      const uint8_t* s = pcm.data() + (f * channels + (channels == 2 ? c : 0)) * 2;
      out.stereo[(f - first) * 2 + c] = int16_t(uint16_t(s[0] | s[1] << 8));
    }
  }
  return true;
}

}  // namespace platform::win32
