// The music against the pictures in the page, on the audio output's own clock. Hooks put into the
// page before its scripts record when the music's source starts (on the audio context's clock),
// and after each animation frame the brightness of the picture's centre and the output timestamp
// (which audio-context time the loudspeaker plays at which page time). The accents are found in
// the music as the browser decoded it, so a decoder's delay counts as a viewer would hear it.
'use strict';

const kFlashTimes = [1000, 2605, 4280, 5861, 9050, 9621, 12000, 12149, 12349, 14604, 15591];
// Bounds: the median offset and each accent's offset, picture minus sound.
const kMaxMedianMs = 20;
const kMaxPairMs = 50;
// An accent is composed on its flash time; the decoded music may place it this far off.
const kMaxAccentDriftMs = 20;

// Runs in the page before anything else.
function syncHooks() {
  const sync = window.demoSync = {started: null, frames: []};
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function(...args) {
    const analyser = this.context.createAnalyser();
    analyser.fftSize = 2048;
    this.connect(analyser);
    sync.started = {contextTime: this.context.currentTime, source: this, analyser};
    return start.apply(this, args);
  };
  const levels = new Float32Array(2048);
  const pixels = new Uint8Array(16 * 16 * 4);
  const requestFrame = window.requestAnimationFrame;
  window.requestAnimationFrame = function(callback) {
    return requestFrame.call(window, (time) => {
      callback(time);
      const started = sync.started;
      if (!started) return;
      // The frame just drawn is still in the drawing buffer until the callback returns.
      const gl = document.getElementById('canvas').getContext('webgl');
      gl.readPixels(392, 292, 16, 16, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
      let sum = 0;
      for (let i = 0; i < pixels.length; i += 4) sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
      started.analyser.getFloatTimeDomainData(levels);
      let power = 0;
      for (const v of levels) power += v * v;
      const stamp = started.source.context.getOutputTimestamp();
      sync.frames.push({time, brightness: sum / (16 * 16 * 3), level: Math.sqrt(power / levels.length),
        contextTime: stamp.contextTime, performanceTime: stamp.performanceTime});
    });
  };
}

// What the page recorded, and the decoded music's loudness per millisecond.
function readRecord() {
  const sync = window.demoSync;
  const buffer = sync.started.source.buffer;
  const perMs = buffer.sampleRate / 1000;
  const envelope = [];
  const channels = [];
  for (let c = 0; c < buffer.numberOfChannels; c++) channels.push(buffer.getChannelData(c));
  for (let ms = 0; (ms + 1) * perMs <= buffer.length; ms++) {
    let sum = 0;
    for (let i = Math.floor(ms * perMs); i < Math.floor((ms + 1) * perMs); i++)
      for (const data of channels) sum += Math.abs(data[i]);
    envelope.push(sum / (perMs * channels.length));
  }
  return {startedAt: sync.started.contextTime, frames: sync.frames, envelope,
    sampleRate: buffer.sampleRate};
}

// The accent near `flashMs`: where the loudness of the next 10 ms against that of the 20 ms before
// is highest, within 60 ms of it (the accents' onsets, to a few milliseconds).
function findAccent(envelope, flashMs) {
  const mean = (from, to) => {
    let sum = 0;
    for (let ms = from; ms < to; ms++) sum += envelope[ms];
    return sum / (to - from);
  };
  let best = -1, bestRatio = 0;
  for (let ms = Math.max(20, flashMs - 60); ms <= flashMs + 60 && ms + 10 <= envelope.length; ms++) {
    const ratio = mean(ms, ms + 10) / (mean(ms - 20, ms) + 1e-6);
    if (ratio > bestRatio) {
      bestRatio = ratio;
      best = ms;
    }
  }
  return best;
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

// Pairs each accent with the first frame that shows its flash. Resolves to {lines, failures}.
async function measureSync(page) {
  const record = await page.evaluate(readRecord);
  const frames = record.frames;
  const lines = [], failures = [];
  // Each frame's place in the music as heard when the frame began: the output timestamp maps page
  // time to audio-context time, which is the music's time from its start.
  for (const f of frames)
    f.musicMs = (f.contextTime + (f.time - f.performanceTime) / 1000 - record.startedAt) * 1000;
  const intervals = frames.slice(1).map((f, i) => f.time - frames[i].time);
  lines.push(`${frames.length} frames, median interval ${median(intervals).toFixed(1)} ms, ` +
             `longest ${Math.max(...intervals).toFixed(1)} ms`);
  const heard = frames.filter((f) => f.musicMs > 500 && f.musicMs < 15500 && f.level > 0.001);
  if (heard.length < frames.length / 2)
    failures.push(`the music is not heard (level above 0.001 in ${heard.length} of ${frames.length} frames)`);

  const offsets = [];
  for (const flashMs of kFlashTimes) {
    const accentMs = findAccent(record.envelope, flashMs);
    if (Math.abs(accentMs - flashMs) > kMaxAccentDriftMs)
      failures.push(`the accent for ${flashMs} ms is at ${accentMs} ms in the decoded music`);
    // The first frame from the flash on whose centre turned white. The program's clock passed the
    // flash time between that frame and the one before: the flash's moment is taken halfway, so
    // that the frame rate widens the spread but does not shift the median.
    let shown = null, before = null;
    for (let i = 1; i < frames.length; i++) {
      const f = frames[i];
      if (f.musicMs < accentMs - 100) continue;
      if (f.musicMs > accentMs + 200) break;
      if (f.brightness >= 200 && f.brightness - frames[i - 1].brightness >= 40) {
        shown = f;
        before = frames[i - 1];
        break;
      }
    }
    if (!shown) {
      failures.push(`no flash within 200 ms of the accent at ${accentMs} ms`);
      lines.push(`accent ${accentMs} ms (flash ${flashMs}): no flash`);
      continue;
    }
    const flashAt = (before.musicMs + shown.musicMs) / 2;
    const offset = flashAt - accentMs;
    offsets.push(offset);
    lines.push(`accent ${accentMs} ms (flash ${flashMs}): frames at ${before.musicMs.toFixed(1)} and ` +
               `${shown.musicMs.toFixed(1)} ms, offset ${offset >= 0 ? '+' : ''}${offset.toFixed(1)} ms`);
    if (Math.abs(offset) > kMaxPairMs) failures.push(`the flash for ${flashMs} ms is ${offset.toFixed(1)} ms off its accent`);
  }
  if (offsets.length) {
    const m = median(offsets);
    const worst = offsets.reduce((a, b) => (Math.abs(b) > Math.abs(a) ? b : a));
    lines.push(`median offset ${m.toFixed(1)} ms, worst ${worst.toFixed(1)} ms (picture after sound is positive)`);
    if (Math.abs(m) > kMaxMedianMs) failures.push(`median offset ${m.toFixed(1)} ms`);
  }
  return {lines, failures};
}

module.exports = {syncHooks, measureSync};
