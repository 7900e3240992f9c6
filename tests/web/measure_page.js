// What a visitor of the page waits for, and pictures of it for a person to look at.
// Usage: node measure_page.js PAGE_FOLDER [SHOTS_FOLDER]
// Prints each file's size as stored and gzip-compressed (as a static server sends it), and
// the time from navigation start to the first picture on the canvas over five loads in new
// browsers (the median, with the load average). With SHOTS_FOLDER, saves web-title.png,
// web-play.png and web-results.png there: the title, a game with a phrase half typed, and
// the results, as the canvas shows them (the game's own pixels).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const playwright = require('playwright-core');
const web = require('./page.js');

const [pageFolder, shots] = process.argv.slice(2).map((p) => p && path.resolve(p));
const here = path.dirname(__filename);

function sizes() {
    let raw = 0;
    let packed = 0;
    for (const name of fs.readdirSync(pageFolder).sort()) {
        const bytes = fs.readFileSync(path.join(pageFolder, name));
        const gzipped = zlib.gzipSync(bytes).length;
        raw += bytes.length;
        packed += gzipped;
        console.log(`| \`${name}\` | ${bytes.length} | ${gzipped} |`);
    }
    console.log(`| total | ${raw} | ${packed} |`);
}

// The page's clock when it first put a picture on the canvas.
function noteFirstPicture() {
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
        if (window.parrunFirstPicture === undefined) window.parrunFirstPicture = performance.now();
        return put.apply(this, args);
    };
}

async function timeToTitle(url) {
    const times = [];
    for (let i = 0; i < 5; ++i) {
        const context = await web.launch(playwright);
        const page = context.pages()[0] || await context.newPage();
        await page.addInitScript(noteFirstPicture);
        await page.goto(url);
        await web.until(page, () => window.parrunFirstPicture !== undefined, 60, 'the title');
        times.push(await page.evaluate(() => window.parrunFirstPicture));
        await context.close();
    }
    times.sort((a, b) => a - b);
    console.log(`time to the title: ${times.map((t) => Math.round(t)).join(', ')} ms; ` +
                `median ${Math.round(times[2])} ms; load average ${os.loadavg()[0].toFixed(1)}`);
}

// The game's first phrase alone, so that the shot of play can show it half typed.
function firstPhrase() {
    const lines = fs.readFileSync(path.join(here, '../../data/drel.txt')).toString('latin1')
        .split('\n').filter((line) => line.startsWith('['));
    return lines.slice(0, 2).join('\n') + '\n';
}

async function takeShots(url) {
    const context = await web.launch(playwright);
    const page = context.pages()[0] || await context.newPage();
    await page.addInitScript((phrases) => {
        window.parrunPrepare = (FS) => {
            FS.writeFile('/data/drel.txt', Uint8Array.from(phrases, (c) => c.charCodeAt(0)));
        };
    }, firstPhrase());
    await page.goto(url + '?record=/record.txt');
    await web.started(page);
    await page.waitForTimeout(2000);
    const shot = async (name) => {
        fs.writeFileSync(path.join(shots, name), await web.canvasPng(page));
        console.log(`saved ${path.join(shots, name)}`);
    };
    await shot('web-title.png');
    await web.untilRecorded(page, 'report sound 7', 1, 30, 'the game start',
                            () => web.press(page, 'Enter'));
    await page.waitForTimeout(4000);
    // Each line: what is shown, a space, and the romaji to type (its spaces are not typed).
    const [dialect, standard] = firstPhrase().trim().split('\n')
        .map((line) => line.slice(line.indexOf(' ') + 1).replace(/\s/g, ''));
    const half = Math.ceil(dialect.length / 2);
    const type = async (text) => { for (const key of text) await web.press(page, key); };
    await type(dialect.slice(0, half));
    await page.waitForTimeout(300);
    await shot('web-play.png');
    await type(dialect.slice(half) + standard);
    while ((await web.recorded(page, 'report sound 8')) === 0) await type(dialect + standard);
    await page.waitForTimeout(3000);
    await shot('web-results.png');
    await context.close();
}

async function main() {
    sizes();
    const server = await web.serve(pageFolder);
    try {
        await timeToTitle(server.url);
        if (shots) await takeShots(server.url);
    } finally {
        server.close();
    }
}

main().catch((error) => {
    console.log('FAIL:', error.message);
    process.exit(1);
});
