// node page_test.js CHECK WEB_FOLDER: one check of the page in Chromium, as a viewer uses it.
//   start        the loading picture and its prompt, nothing running until the click; the click
//                starts the frames and the music
//   escape       Escape ends the program (exit code 27, Escape's key code), the page says so and offers to play again,
//                and the unpacked files are gone from the in-memory file system
//   stop         F takes the page to full screen, where the browser keeps Escape for itself, and
//                the page's stop button does what Escape does
//   hide         another tab in front pauses the frames as a minimised window, the music plays
//                on, and the frames go on once the page is in front again
//   broken-pack  a broken data.dat: the "ERROR" dialog, exit code 2, no prompt, nothing drawn
//   music        the music heard in step with the pictures: each accent of the decoded music, on
//                the audio output's clock, against the first frame that shows its flash
// Exit status 0 when the check holds, 1 with the reason when it does not.
'use strict';
const {serve, launch, openPage, waitFor} = require('./browser');
const {measureSync, syncHooks} = require('./sync');

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

function check(condition, what) {
  if (!condition) throw new Error(what);
}

// The page up to its click prompt, with the loading picture shown.
async function openAtPrompt(browser, url) {
  const page = await openPage(browser, url);
  await waitFor(page, () => document.getElementById('prompt').style.display === 'block',
                'the click prompt');
  return page;
}

const pictureShown = (page) =>
  page.evaluate(() => document.getElementById('picture').style.display === 'block');

// The names in the in-memory file system's working folder and its temporary folder.
const listFiles = (page) => page.evaluate(() =>
  [...FS.readdir('/').map((n) => '/' + n), ...FS.readdir('/tmp').map((n) => '/tmp/' + n)]
      .filter((n) => !/\/\.\.?$/.test(n)));

// What the file system holds before the program runs: its own folders and the fetched pack.
const kBareFileSystem = ['/tmp', '/home', '/dev', '/proc', '/data.dat'];

async function startCheck(browser, url) {
  const page = await openAtPrompt(browser, url);
  check(await pictureShown(page), 'the loading picture is not shown at the prompt');
  const before = await page.screenshot();
  await sleep(1500);
  check(await pictureShown(page), 'the loading picture went away before the click');
  check(Buffer.compare(before, await page.screenshot()) === 0,
        'the page changed before the click');
  await page.mouse.click(400, 300);
  await waitFor(page, () => document.getElementById('picture').style.display === 'none',
                'the first frame after the click', 10000);
  check(await page.evaluate(() => document.getElementById('prompt').style.display === 'none'),
        'the prompt stays after the click');
  const first = await page.screenshot();
  await sleep(700);
  check(Buffer.compare(first, await page.screenshot()) !== 0, 'the frames do not move');
  const audio = await page.evaluate(() => ({
    state: Module.demoAudio.state,
    time: Module.demoAudio.currentTime,
    playing: Module.demoStreams.some((s) => s.source !== null),
  }));
  check(audio.state === 'running' && audio.time > 0.5, `the audio clock does not run (${JSON.stringify(audio)})`);
  check(audio.playing, 'no music was started');
  return page;
}

async function endCheck(browser, url, how) {
  const page = await startCheck(browser, url);
  const running = await listFiles(page);
  check(running.length > kBareFileSystem.length,
        `no unpacked files while the program runs (${running.join(' ')})`);
  await sleep(500);
  if (how === 'escape') {
    // Held as a viewer holds it: a tap whose key-down and key-up both come before a frame leaves
    // the presentation running, as on the desktop.
    await page.keyboard.down('Escape');
    await sleep(200);
    await page.keyboard.up('Escape');
  } else {
    // In full screen, where the browser keeps Escape for itself; the page leaves it at the end.
    await page.keyboard.press('KeyF');
    await waitFor(page, () => document.fullscreenElement !== null, 'full screen on F', 5000);
    await page.mouse.move(700, 20);
    await page.click('#stop');
  }
  await waitFor(page, () => Module.demoExitCode !== null, 'the end of the program', 10000);
  const exitCode = await page.evaluate(() => Module.demoExitCode);
  // The parameter of the last message taken: Escape's key code.
  check(exitCode === 27, `exit code ${exitCode}, not 27`);
  const status = await page.evaluate(() => document.getElementById('status').innerText);
  check(/the end \(exit code 27\)/.test(status) && /play again/.test(status),
        `the page says "${status}"`);
  check(await page.evaluate(() => document.fullscreenElement === null),
        'the page stays in full screen after the end');
  const left = await listFiles(page);
  const extra = left.filter((n) => !kBareFileSystem.includes(n));
  check(extra.length === 0, `files left behind: ${extra.join(' ')}`);
  return page;
}

// Another tab in front hides the page: a minimised window, whose music plays on; back in front,
// the frames go on from the music's time.
async function hideCheck(browser, url) {
  const page = await startCheck(browser, url);
  const other = await browser.newPage();
  await other.bringToFront();
  await waitFor(page, () => document.visibilityState === 'hidden', 'the page hidden', 5000);
  const audioTime = () => page.evaluate(() => Module.demoAudio.currentTime);
  const hiddenAt = await audioTime();
  await sleep(2000);
  const music = (await audioTime()) - hiddenAt;
  check(music > 1.5, `the music stopped while the page was hidden (${music.toFixed(2)} s in 2 s)`);
  await page.bringToFront();
  await other.close();
  await waitFor(page, () => document.visibilityState === 'visible', 'the page shown again', 5000);
  await sleep(300);
  const back = await page.screenshot();
  await sleep(700);
  check(Buffer.compare(back, await page.screenshot()) !== 0,
        'the frames do not go on once the page is shown again');
}

async function brokenPackCheck(browser, folder) {
  const broken = Buffer.from('not a pack at all, and far too short');
  const server = await serve(folder, {'data.dat': broken});
  try {
    const page = await openPage(browser, server.url);
    await waitFor(page, () => document.querySelector('.message-box') !== null, 'the error dialog');
    const box = await page.evaluate(() => ({
      caption: document.querySelector('.message-box .caption').textContent,
      text: document.querySelector('.message-box p').textContent,
    }));
    check(box.caption === 'ERROR', `the dialog's caption is "${box.caption}"`);
    await waitFor(page, () => Module.demoExitCode !== null, 'the end of the program', 10000);
    const state = await page.evaluate(() => ({
      exitCode: Module.demoExitCode,
      prompt: document.getElementById('prompt').style.display,
      picture: document.getElementById('picture').style.display,
    }));
    check(state.exitCode === 2, `exit code ${state.exitCode}, not 2`);
    check(state.prompt !== 'block' && state.picture !== 'block',
          'the program went on after the broken pack');
    const extra = (await listFiles(page)).filter((n) => !kBareFileSystem.includes(n));
    check(extra.length === 0, `files left behind: ${extra.join(' ')}`);
    console.log(`the dialog: ${box.caption}: ${box.text}`);
  } finally {
    await server.close();
  }
}

async function musicCheck(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 600, deviceScaleFactor: 1});
  page.demoLog = [];
  page.on('console', (m) => page.demoLog.push(`console: ${m.text()}`));
  await page.evaluateOnNewDocument(syncHooks);
  await page.goto(url);
  await waitFor(page, () => document.getElementById('prompt').style.display === 'block',
                'the click prompt');
  await page.mouse.click(400, 300);
  // The last flash is at 15.6 s; the music ends with the last scene at 16 s.
  await waitFor(page, () => window.demoSync && window.demoSync.started !== null,
                'the music start', 10000);
  await sleep(16800);
  const result = await measureSync(page);
  for (const line of result.lines) console.log(line);
  check(result.failures.length === 0, result.failures.join('; '));
}

async function main() {
  const [name, folder] = process.argv.slice(2);
  const checks = ['start', 'escape', 'stop', 'hide', 'broken-pack', 'music'];
  if (!checks.includes(name) || !folder) {
    console.error(`usage: node page_test.js ${checks.join('|')} WEB_FOLDER`);
    process.exit(2);
  }
  const server = await serve(folder);
  const browser = await launch();
  try {
    if (name === 'start') await startCheck(browser, server.url);
    if (name === 'escape' || name === 'stop') await endCheck(browser, server.url, name);
    if (name === 'hide') await hideCheck(browser, server.url);
    if (name === 'broken-pack') await brokenPackCheck(browser, folder);
    if (name === 'music') await musicCheck(browser, server.url);
    console.log(`${name}: ok`);
  } finally {
    await browser.close();
    await server.close();
  }
}

main().catch((error) => {
  console.error(`page_test: ${error.message}`);
  process.exit(1);
});
