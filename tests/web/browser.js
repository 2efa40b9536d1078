// What the browser tests share: the page's folder served on a free local port (with chosen files
// replaced, to serve a broken pack), and Debian's Chromium, headless, drawing WebGL on SwiftShader.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.dat': 'application/octet-stream', '.png': 'image/png',
};

// Serves `folder` on 127.0.0.1; `replaced` maps a file name to the bytes served instead.
// Resolves to {url, close}.
function serve(folder, replaced = {}) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') ||
        'index.html';
    const file = path.join(root, name);
    let bytes = replaced[name];
    if (bytes === undefined) {
      if (!file.startsWith(root + path.sep) || !fs.existsSync(file)) {
        response.writeHead(404);
        response.end();
        return;
      }
      bytes = fs.readFileSync(file);
    }
    response.writeHead(200, {
      'Content-Type': kTypes[path.extname(name)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    response.end(bytes);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}/`,
      // The browser's keep-alive connections would hold the server open until they time out.
      close: () => new Promise((done) => {
        server.close(done);
        server.closeAllConnections();
      }),
    }));
  });
}

// Chromium as the tests use it: headless, WebGL on SwiftShader, sound allowed only after a
// gesture (as a viewer's browser does), nothing fetched from the network.
async function launch(extraArgs = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-gpu-sandbox', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--autoplay-policy=user-gesture-required',
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      // A container's /dev/shm is often too small for Chromium's shared memory.
      '--disable-dev-shm-usage',
      ...extraArgs],
  });
}

// A page at the picture's own size, with what the page says on the console kept for the report.
async function openPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 600, deviceScaleFactor: 1});
  const log = [];
  page.on('console', (m) => log.push(`console: ${m.text()}`));
  page.on('pageerror', (e) => log.push(`page error: ${e.message}`));
  page.demoLog = log;
  await page.goto(url);
  return page;
}

// Resolves once `predicate` (run in the page) is true; fails after `timeoutMs` with `what`.
async function waitFor(page, predicate, what, timeoutMs = 30000, argument = undefined) {
  try {
    await page.waitForFunction(predicate, {timeout: timeoutMs, polling: 20}, argument);
  } catch (error) {
    throw new Error(`${what} within ${timeoutMs} ms did not happen\n${page.demoLog.join('\n')}`);
  }
}

module.exports = {serve, launch, openPage, waitFor};
