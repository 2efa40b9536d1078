// node capture_page.js WEB_FOLDER OUT_FOLDER MS[,MS...]: pictures of the page as Chromium shows it,
// for comparison with the native program's: OUT/loading.png, the loading picture while the page
// waits for its click, and OUT/at-MS.png for each moment, from the page's stepped time mode at 10
// frames per second (the moments `demotool capture --fps 10` draws).
'use strict';
const path = require('path');
const {serve, launch, openPage, waitFor} = require('./browser');

async function main() {
  const [folder, out, list] = process.argv.slice(2);
  if (!folder || !out || !list) {
    console.error('usage: node capture_page.js WEB_FOLDER OUT_FOLDER MS[,MS...]');
    process.exit(2);
  }
  const moments = list.split(',').map(Number);
  const server = await serve(folder);
  const browser = await launch();
  try {
    let page = await openPage(browser, server.url);
    await waitFor(page, () => document.getElementById('prompt').style.display === 'block',
                  'the loading picture with its prompt');
    // The prompt lies over the picture; the native program has none.
    await page.evaluate(() => { document.getElementById('prompt').style.display = 'none'; });
    await page.screenshot({path: path.join(out, 'loading.png')});
    await page.close();

    page = await openPage(browser, `${server.url}?t=${moments.join(',')}&fps=10`);
    for (const ms of moments) {
      await waitFor(page, (at) => Module.demoStepped.held !== null && Module.demoStepped.held >= at,
                    `the frame at ${ms} ms`, 120000, ms);
      const held = await page.evaluate(() => Module.demoStepped.held);
      if (held !== ms) throw new Error(`held at ${held} ms, not at ${ms} ms`);
      // Two animation frames: the held frame is on the screen, not only drawn.
      await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
      await page.screenshot({path: path.join(out, `at-${ms}.png`)});
      await page.evaluate(() => Module.demoStepped.release());
    }
    if (page.demoLog.length) console.log(page.demoLog.join('\n'));
  } finally {
    await browser.close();
    await server.close();
  }
}

main().catch((error) => {
  console.error(`capture_page: ${error.message}`);
  process.exit(1);
});
