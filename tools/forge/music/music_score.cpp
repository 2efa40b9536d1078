// The composition. Beats count from the first hit (beat 0 = 1000 ms); bars are four beats, with
// the grid restarting at beat 29 after the stutter. Harmony: Dm, Bb, Gm, A and a Bb-C lift into
// the lead section, the progression coming back at the peak and resolving to Dm on the last hit.
#include "tools/forge/music/music_score.h"

#include <algorithm>
#include <cmath>

#include "tools/forge/music/music_drums.h"
#include "tools/forge/music/music_synth.h"

namespace music {
namespace {

struct Chord {
  double fromBeat;
  int root;                  // bass pitch
  std::vector<int> voicing;  // pad pitches
};

const std::vector<Chord>& chords() {
  static const std::vector<Chord> table = {
      {-3.0, 38, {50, 57, 62, 65}}, {4.0, 34, {50, 58, 62, 65}},  {8.0, 31, {50, 55, 58, 62}},
      {12.0, 33, {49, 57, 61, 64}}, {16.0, 38, {50, 57, 62, 65}}, {18.0, 34, {50, 58, 62, 65}},
      {19.0, 36, {48, 55, 60, 64}}, {20.0, 38, {50, 57, 62, 65}}, {22.0, 34, {50, 58, 62, 65}},
      {24.0, 31, {50, 55, 58, 62}}, {26.0, 33, {49, 57, 61, 64}}, {29.0, 38, {50, 57, 62, 65}},
      {31.0, 34, {50, 58, 62, 65}}, {33.0, 31, {50, 55, 58, 62}}, {34.5, 33, {49, 57, 61, 64}},
      {37.0, 34, {50, 58, 62, 65}}, {38.0, 26, {50, 57, 62, 65}}};
  return table;
}

const Chord& chordAt(double beat) {
  const std::vector<Chord>& table = chords();
  size_t i = 0;
  while (i + 1 < table.size() && table[i + 1].fromBeat <= beat) ++i;
  return table[i];
}

bool nearHit(double seconds) {
  for (double ms : kHitTimesMs) {
    if (std::fabs(seconds * 1000.0 - ms) < 30.0) return true;
  }
  return false;
}

// Everything the score needs to place events: the grid and the buses.
struct Writer {
  const BeatMap& beats;
  MixBuses& buses;
  uint32_t seed = 1;

  Target groove(float reverb = 0.0f, float delay = 0.0f) const {
    return {&buses.groove, &buses.reverbSend, &buses.delaySend, reverb, delay};
  }
  Target hits(float reverb) const {
    return {&buses.hits, &buses.reverbSend, nullptr, reverb, 0.0f};
  }
  uint32_t nextSeed() { return seed = seed * 1664525u + 1013904223u; }
};

// The eighth-note bass line: root, octave and fifth in a fixed mechanical pattern.
void bassLine(Writer& w, double from, double to, bool doubled) {
  const int offsets[8] = {0, 0, 12, 0, 7, 0, 12, 0};
  const float accents[8] = {1.0f, 0.55f, 0.8f, 0.55f, 0.9f, 0.55f, 0.8f, 0.7f};
  for (double b = from; b < to - 1e-6; b += 0.5) {
    const int step = static_cast<int>(std::lround((b - from) * 2.0)) % 8;
    const int pitch = chordAt(b).root + offsets[step];
    const Note note{w.beats.seconds(b), w.beats.span(b, 0.5) * 0.8, double(pitch), accents[step]};
    renderBass(w.groove(), note);
    if (doubled) renderBass(w.groove(), {note.start, note.length, note.pitch + 12, 0.35f});
  }
}

void kicks(Writer& w, double from, double to, float velocity) {
  for (double b = from; b < to - 1e-6; b += 1.0) {
    if (!nearHit(w.beats.seconds(b))) renderKick(w.groove(), w.beats.seconds(b), velocity);
  }
}

// Snares on the second and fourth beat of bars starting at `barStart`.
void backbeat(Writer& w, double barStart, double from, double to, float velocity) {
  for (double b = barStart + 1.0; b < to - 1e-6; b += 2.0) {
    if (b >= from && !nearHit(w.beats.seconds(b))) {
      renderSnare(w.groove(0.25f), w.beats.seconds(b), velocity, w.nextSeed());
    }
  }
}

// Sixteenth hats, accented on the off-beat eighth, which opens slightly.
void hats(Writer& w, double from, double to, double stepBeats, float velocity) {
  int i = 0;
  for (double b = from; b < to - 1e-6; b += stepBeats, ++i) {
    const double within = b - std::floor(b);
    const bool offBeat = std::fabs(within - 0.5) < 1e-6;
    const float v = velocity * (offBeat ? 1.0f : (within < 1e-6 ? 0.6f : 0.4f));
    const float pan = (i % 2 == 0) ? 0.25f : -0.2f;
    renderHat(w.groove(0.05f), w.beats.seconds(b), v, offBeat, pan, w.nextSeed());
  }
}

// A roll from `from` to `to` whose notes get closer and louder.
// The roll breaks off a quarter beat before `to`: its ringing hiss would fill the spectrum the
// hit's attack has to jump out of.
void snareRoll(Writer& w, double from, double to, float startVelocity, float endVelocity) {
  double b = from;
  while (b < to - 0.25 - 1e-6) {
    const double u = (b - from) / (to - from);
    const double step = u < 0.5 ? 0.5 : (u < 0.75 ? 0.25 : 0.125);
    const float v = startVelocity + (endVelocity - startVelocity) * static_cast<float>(u);
    if (!nearHit(w.beats.seconds(b))) {
      renderSnare(w.groove(0.2f), w.beats.seconds(b), v, w.nextSeed());
    }
    b += step;
  }
}

// One pad chord per chord change between two beats; chords overlap by their release.
void padChords(Writer& w, double from, double to, float velocity) {
  double b = from;
  while (b < to - 1e-6) {
    const Chord& c = chordAt(b);
    double next = to;
    for (const Chord& other : chords()) {
      if (other.fromBeat > b + 1e-6) {
        next = std::min(next, other.fromBeat);
        break;
      }
    }
    renderPad(w.groove(0.45f), w.beats.seconds(b), w.beats.span(b, next - b), c.voicing, velocity,
              0.12, 0.5, w.nextSeed());
    b = next;
  }
}

struct MotifNote {
  double beat, beats;
  int pitch;
};

// The lead figure over Dm, Bb, Gm, A; placed at beat 20 and again, shifted, at the peak.
const std::vector<MotifNote>& leadMotif() {
  static const std::vector<MotifNote> motif = {
      {20.0, 0.5, 69}, {20.5, 0.5, 74}, {21.0, 0.5, 77}, {21.5, 0.75, 76}, {22.25, 0.25, 74},
      {22.5, 0.5, 77}, {23.0, 0.5, 70}, {23.5, 0.5, 74}, {24.0, 0.75, 79}, {24.75, 0.25, 77},
      {25.0, 0.5, 74}, {25.5, 0.5, 70}, {26.0, 0.5, 69}, {26.5, 0.5, 73},  {27.0, 0.45, 76}};
  return motif;
}

void leadLine(Writer& w, const std::vector<MotifNote>& motif, double shift, double until,
              bool octave) {
  double previous = motif.front().pitch;
  for (const MotifNote& m : motif) {
    const double b = m.beat + shift;
    if (b >= until - 1e-6) break;
    const Note note{w.beats.seconds(b), w.beats.span(b, m.beats) * 0.9, double(m.pitch), 0.9f};
    renderLead(w.groove(0.25f, 0.35f), note, previous, 0.1f);
    if (octave) {
      renderLead(w.groove(0.2f, 0.3f), {note.start, note.length, note.pitch + 12, 0.35f},
                 previous + 12, -0.3f);
    }
    previous = m.pitch;
  }
}

void lead(Writer& w, double shift, double until, bool octave) {
  leadLine(w, leadMotif(), shift, until, octave);
}

// The fly-in climbs the A chord and leans on F over Bb before the resolution.
void riseLead(Writer& w) {
  static const std::vector<MotifNote> rise = {
      {34.5, 1.0, 69}, {35.5, 0.75, 73}, {36.25, 0.75, 76}, {37.0, 0.95, 77}};
  leadLine(w, rise, 0.0, 38.0, true);
}

// Sixteenth arpeggio of the current chord, two octaves up, bouncing through the echo.
void arpeggio(Writer& w, double from, double to) {
  const int order[4] = {0, 2, 1, 3};
  int i = 0;
  for (double b = from; b < to - 1e-6; b += 0.25, ++i) {
    const std::vector<int>& v = chordAt(b).voicing;
    const int pitch = v[order[i % 4] % v.size()] + 12;
    renderPluck(w.groove(0.15f, 0.4f), {w.beats.seconds(b), 0.1, double(pitch), 0.6f},
                (i % 2) ? 0.45f : -0.45f);
  }
}

void impacts(Writer& w) {
  const float strength[12] = {0.95f, 0.85f, 0.95f, 0.85f, 1.0f, 0.9f,
                              0.9f,  0.9f,  1.0f,  1.0f,  1.0f, 1.05f};
  for (size_t i = 0; i < kHitTimesMs.size(); ++i) {
    Impact hit;
    hit.start = kHitTimesMs[i] / 1000.0;
    hit.strength = strength[i];
    hit.seed = w.nextSeed();
    // Each hit chokes the one before, so the next onset comes out of a short silence.
    if (i + 1 < kHitTimesMs.size()) {
      hit.length = std::min(hit.length, (kHitTimesMs[i + 1] - kHitTimesMs[i]) / 1000.0 - 0.012);
    } else {
      hit.length = 3.9;
      hit.boomTau = 1.1;
    }
    renderImpact(w.hits(i == 11 ? 0.6f : 0.35f), hit);
  }
}

// Intro and the stutter: the parts that live outside the groove.
void intro(Writer& w) {
  renderRiser(w.hits(0.3f), 0.05, 1.0, 0.9f, w.nextSeed());
  renderPad(w.hits(0.5f), 0.0, 0.9, chordAt(-1.0).voicing, 0.45f, 0.85, 0.6, w.nextSeed());
  renderDrone(w.hits(0.0f), {0.0, 0.94, 26.0, 0.3f}, 0.9, 0.02);
  for (double b = -2.0; b < -0.1; b += 0.5) {
    renderHat(w.groove(0.1f), w.beats.seconds(b), static_cast<float>(0.15 + 0.1 * (b + 2.0)), false,
              0.3f, w.nextSeed());
  }
}

void stutter(Writer& w) {
  const std::vector<int>& a = chordAt(26.0).voicing;
  for (int i = 6; i <= 8; ++i) {
    const double start = kHitTimesMs[i] / 1000.0;
    for (int pitch : a) {
      renderPluck(w.hits(0.2f), {start, 0.1, double(pitch + 12), 0.9f}, 0.0f);
    }
    renderBass({&w.buses.hits, nullptr, nullptr, 0, 0}, {start, 0.12, 33.0, 1.0f});
  }
}

void ending(Writer& w) {
  const double end = kHitTimesMs.back() / 1000.0;
  renderPad(w.hits(0.6f), end, 1.4, chordAt(38.0).voicing, 0.5f, 0.02, 2.4, w.nextSeed());
  renderDrone(w.hits(0.2f), {end, 1.2, 26.0, 0.2f}, 0.01, 2.3);
  renderBass({&w.buses.hits, nullptr, nullptr, 0, 0}, {end, 0.6, 38.0, 0.6f});
}

}  // namespace

void composeScore(MixBuses& buses, const BeatMap& beats) {
  Writer w{beats, buses};
  intro(w);
  // Groove: kick, dark bass, a clank on the third beat.
  kicks(w, 0.0, 8.0, 0.9f);
  bassLine(w, 0.0, 8.0, false);
  for (double b : {2.0, 6.0}) renderSnare(w.groove(0.3f), beats.seconds(b), 0.35f, w.nextSeed());
  // Fuller: hats, pad, backbeat; a roll and a riser build into beat 20.
  kicks(w, 8.0, 20.0, 0.9f);
  bassLine(w, 8.0, 20.0, false);
  hats(w, 8.0, 20.0, 0.25, 0.5f);
  padChords(w, 8.0, 20.0, 0.8f);
  backbeat(w, 8.0, 8.0, 16.0, 0.85f);
  snareRoll(w, 16.0, 20.0, 0.25f, 0.8f);
  renderRiser(w.hits(0.25f), beats.seconds(17.0), beats.seconds(20.0), 0.8f, w.nextSeed());
  // The centre piece: the lead figure.
  kicks(w, 20.0, 27.5, 0.9f);
  bassLine(w, 20.0, 27.5, false);
  hats(w, 20.0, 27.5, 0.5, 0.45f);
  padChords(w, 20.0, 27.5, 0.6f);
  backbeat(w, 20.0, 20.0, 27.5, 0.9f);
  lead(w, 0.0, 27.5, false);
  stutter(w);
  // The peak: everything at once.
  kicks(w, 29.0, 34.5, 1.0f);
  bassLine(w, 29.0, 34.5, true);
  hats(w, 29.0, 34.5, 0.25, 0.55f);
  padChords(w, 29.0, 34.5, 0.8f);
  backbeat(w, 29.0, 29.0, 34.5, 0.95f);
  lead(w, 9.0, 34.5, true);
  arpeggio(w, 29.0, 34.5);
  // The fly-in: a rise through the hit at beat 37 into the closing hit.
  kicks(w, 35.0, 38.0, 0.9f);
  bassLine(w, 34.5, 38.0, false);
  padChords(w, 34.5, 38.0, 0.8f);
  hats(w, 34.5, 38.0, 0.25, 0.4f);
  snareRoll(w, 35.0, 38.0, 0.2f, 0.85f);
  renderRiser(w.hits(0.25f), beats.seconds(34.6), beats.seconds(37.0), 0.7f, w.nextSeed());
  renderRiser(w.hits(0.25f), beats.seconds(37.05), beats.seconds(38.0), 0.9f, w.nextSeed());
  riseLead(w);
  impacts(w);
  ending(w);
}

std::vector<float> grooveDucking(size_t frames) {
  std::vector<float> gain(frames, 1.0f);
  const double gap = 0.03, depth = 0.75, recovery = 0.16;
  for (double ms : kHitTimesMs) {
    const double hit = ms / 1000.0;
    const long from = std::max(0L, toFrame(hit - gap));
    const long to = std::min(static_cast<long>(frames), toFrame(hit + 6.0 * recovery));
    for (long n = from; n < to; ++n) {
      const double t = static_cast<double>(n) / kRate - hit;
      const double dip = t < 0.0 ? depth * (t + gap) / gap : depth * std::exp(-t / recovery);
      gain[n] *= static_cast<float>(1.0 - dip);
    }
  }
  const long stutterFrom = toFrame(kHitTimesMs[6] / 1000.0 - 0.03);
  const long stutterTo = std::min(static_cast<long>(frames), toFrame(kHitTimesMs[8] / 1000.0));
  for (long n = stutterFrom; n < stutterTo; ++n) gain[n] = 0.0f;
  return gain;
}

}  // namespace music
