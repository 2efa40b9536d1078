// node bench/web_frames.js WEB_FOLDER: the page in headless Chromium (WebGL on SwiftShader) without
// the display's frame limit, played through once: per scene the median frame time and frames per
// second, and how long the page takes from its load to the click prompt and from the click to the
// first frame. Run by bench/web.sh, which sets up the sound server and the native figures beside.
'use strict';
const path = require('path');
const tests = path.join(__dirname, '..', 'tests', 'web');
const {serve, launch, waitFor} = require(path.join(tests, 'browser'));
const {syncHooks} = require(path.join(tests, 'sync'));

const kSceneEnds = [4280, 9050, 12000, 12349, 14604, 16000];
const kSceneNames = ['scene 1', 'scene 2', 'scene 3', 'scene 4', 'scene 5', 'scene 6', 'end'];

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};

async function main() {
  const folder = process.argv[2];
  if (!folder) {
    console.error('usage: node bench/web_frames.js WEB_FOLDER');
    process.exit(2);
  }
  const server = await serve(folder);
  const browser = await launch(['--disable-gpu-vsync', '--disable-frame-rate-limit']);
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 600, deviceScaleFactor: 1});
    await page.evaluateOnNewDocument(syncHooks);
    const loadStart = Date.now();
    await page.goto(server.url);
    await waitFor(page, () => document.getElementById('prompt').style.display === 'block',
                  'the click prompt');
    const toPrompt = Date.now() - loadStart;
    const clickAt = await page.evaluate(() => performance.now());
    await page.mouse.click(400, 300);
    await waitFor(page, () => window.demoSync.frames.length > 0, 'the first frame', 10000);
    await new Promise((r) => setTimeout(r, 18000));
    const frames = await page.evaluate(() => window.demoSync.frames.map((f) => f.time));
    const firstFrame = frames[0] - clickAt;
    // Scene of each frame by its time from the first frame (the timer's zero, to a frame).
    const perScene = kSceneNames.map(() => []);
    for (let i = 1; i < frames.length; i++) {
      const t = frames[i] - frames[0];
      let scene = kSceneEnds.findIndex((end) => t <= end);
      if (scene < 0) scene = kSceneNames.length - 1;
      perScene[scene].push(frames[i] - frames[i - 1]);
    }
    console.log(`load to click prompt: ${toPrompt} ms; click to first frame: ${firstFrame.toFixed(0)} ms`);
    console.log('| scene | frames | median frame ms | frames per second |');
    console.log('|---|---|---|---|');
    kSceneNames.forEach((name, i) => {
      const m = median(perScene[i]);
      console.log(`| ${name} | ${perScene[i].length} | ${m.toFixed(2)} | ${(1000 / m).toFixed(1)} |`);
    });
  } finally {
    await browser.close();
    await server.close();
  }
}

main().catch((error) => {
  console.error(`web_frames: ${error.message}`);
  process.exit(1);
});
