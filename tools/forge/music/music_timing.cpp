// The bent beat grid. Each hit sits on a whole or half beat; the half beats are syncopated accents
// (9621, 14604) and the grid skips half a beat inside the stutter at 12000..12349.
#include "tools/forge/music/music_timing.h"

namespace music {

BeatMap::BeatMap()
    : anchors_{{0.0, kHitTimesMs[0]},   {4.0, kHitTimesMs[1]},  {8.0, kHitTimesMs[2]},
               {12.0, kHitTimesMs[3]},  {20.0, kHitTimesMs[4]}, {21.5, kHitTimesMs[5]},
               {27.5, kHitTimesMs[6]},  {29.0, kHitTimesMs[8]}, {34.5, kHitTimesMs[9]},
               {37.0, kHitTimesMs[10]}, {38.0, kHitTimesMs[11]}} {}

double BeatMap::ms(double beat) const {
  const Anchor& first = anchors_.front();
  if (beat <= first.beat) return first.ms + (beat - first.beat) * 400.0;
  for (std::size_t i = 1; i < anchors_.size(); ++i) {
    const Anchor& a = anchors_[i - 1];
    const Anchor& b = anchors_[i];
    if (beat <= b.beat) return a.ms + (beat - a.beat) * (b.ms - a.ms) / (b.beat - a.beat);
  }
  const Anchor& last = anchors_.back();
  return last.ms + (beat - last.beat) * 409.0;
}

}  // namespace music
