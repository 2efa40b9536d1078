#include "support/mp3_decode.h"

#include <mpg123.h>

std::vector<int16_t> decodeMp3(const std::vector<uint8_t>& mp3, std::string& error, Mp3Trim trim) {
  std::vector<int16_t> pcm;
  int err = MPG123_OK;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  if (!mh) {
    error = "mpg123_new failed";
    return pcm;
  }
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  mpg123_param(mh, trim == Mp3Trim::AsSdlMixer ? MPG123_ADD_FLAGS : MPG123_REMOVE_FLAGS,
               MPG123_GAPLESS, 0);
  mpg123_format_none(mh);
  mpg123_format(mh, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
  std::vector<unsigned char> out(1 << 16);
  size_t done = 0;
  int rc = mpg123_open_feed(mh);
  if (rc == MPG123_OK)
    rc = mpg123_decode(mh, mp3.data(), mp3.size(), out.data(), out.size(), &done);
  while (rc == MPG123_OK || rc == MPG123_NEW_FORMAT) {
    const int16_t* s = reinterpret_cast<const int16_t*>(out.data());
    pcm.insert(pcm.end(), s, s + done / 2);
    rc = mpg123_decode(mh, nullptr, 0, out.data(), out.size(), &done);
  }
  const int16_t* s = reinterpret_cast<const int16_t*>(out.data());
  pcm.insert(pcm.end(), s, s + done / 2);
  if (rc != MPG123_NEED_MORE && rc != MPG123_DONE) error = mpg123_plain_strerror(rc);
  mpg123_delete(mh);
  return pcm;
}
