// The bent beat grid. Each hit sits on a whole or half beat; the half beats are syncopated accents
// (9621, 14604) and the grid skips half a beat inside the stutter at 12000..12349.
#include "tools/forge/music_timing.h"

namespace music {

BeatMap::BeatMap()
    : anchors_{{0.0, 1000},   {4.0, 2605},   {8.0, 4280},   {12.0, 5861},
               {20.0, 9050},  {21.5, 9621},  {27.5, 12000}, {29.0, 12349},
               {34.5, 14604}, {37.0, 15591}, {38.0, 16000}} {}

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
