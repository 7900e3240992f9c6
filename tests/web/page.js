// What the browser tests share: a server for the built page, headless Chromium (Debian's,
// through playwright-core), and the page's own reports read through its module.
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.data': 'application/octet-stream', '.sf2': 'application/octet-stream'};

// Serves `folder` on a free port of 127.0.0.1; resolves to {url, close}.
function serve(folder) {
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
        const file = path.join(folder, name === '/' ? 'index.html' : name);
        if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
            response.writeHead(404);
            response.end();
            return;
        }
        response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'text/plain'});
        fs.createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => server.close(),
    })));
}

// Headless Chromium with a profile of its own (kept across launches when `profile` is given,
// so the browser's storage outlives a reload or a new browser).
async function launch(playwright, profile) {
    const userDataDir = profile || fs.mkdtempSync(path.join(os.tmpdir(), 'parrun-chromium-'));
    const context = await playwright.chromium.launchPersistentContext(userDataDir, {
        executablePath: '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--autoplay-policy=no-user-gesture-required'],
        viewport: {width: 1024, height: 768},
    });
    return context;
}

// Waits until `check` (run in the page) gives a true value; fails after `seconds`.
async function until(page, check, seconds, what, argument) {
    try {
        await page.waitForFunction(check, argument, {timeout: seconds * 1000, polling: 50});
    } catch (error) {
        throw new Error(`${what} did not happen within ${seconds} s`);
    }
}

// The canvas as PNG bytes.
async function canvasPng(page) {
    const url = await page.evaluate(() => document.getElementById('screen').toDataURL('image/png'));
    return Buffer.from(url.split(',')[1], 'base64');
}

// Held and let go as a person does, long enough for a frame's poll to see the key.
async function press(page, key) {
    await page.keyboard.down(key);
    await page.waitForTimeout(80);
    await page.keyboard.up(key);
    await page.waitForTimeout(40);
}

module.exports = {serve, launch, until, canvasPng, press};
