// The game in headless Chromium. Usage: node web_test.js PAGE_FOLDER WORK_FOLDER
// Writes into WORK_FOLDER what web_test.sh compares with the scripted host:
//  title.png           the title as the page drew it;
//  recording, a.dat, last.png   a game played by keys and recorded in the page (one phrase,
//                      "a" then "i", from WORK_FOLDER/drel.txt), its rankings and last picture;
//  damaged-rankings.png the rankings shown after a.dat in the browser's storage was damaged
//                      (with WORK_FOLDER/damaged.dat).
// and checks itself that a reload keeps key.dat and a.dat, and that the sound is heard.
'use strict';
const fs = require('fs');
const path = require('path');
const playwright = require('playwright-core');
const web = require('./page.js');

const [pageFolder, work] = process.argv.slice(2).map((p) => path.resolve(p));
const phrases = fs.readFileSync(path.join(work, 'drel.txt')).toString('latin1');
const damaged = fs.readFileSync(path.join(work, 'damaged.dat')).toString('latin1');

// Each page gets the test's phrase file before the game starts.
function prepare(phrasesLatin1) {
    window.parrunPrepare = (FS) => {
        const bytes = Uint8Array.from(phrasesLatin1, (c) => c.charCodeAt(0));
        FS.writeFile('/data/drel.txt', bytes);
    };
}

const readFile = (page, file) => page.evaluate((name) => {
    try {
        return Array.from(parrunModule.FS.readFile(name));
    } catch (e) {
        return null;
    }
}, file);
const recorded = async (page, line) => {
    const bytes = await readFile(page, '/record.txt');
    if (!bytes) return 0;
    return Buffer.from(bytes).toString().split('\n').filter((l) => l === line).length;
};
async function untilRecorded(page, line, count, seconds, what, action) {
    const deadline = Date.now() + seconds * 1000;
    while ((await recorded(page, line)) < count) {
        if (Date.now() > deadline) throw new Error(`${what} did not happen within ${seconds} s`);
        if (action) await action();
        else await page.waitForTimeout(50);
    }
}
const started = (page) => web.until(page, () => window.parrunModule &&
    parrunModule.parrunPage.pictures > 0, 30, 'the first picture');
// The mean loudness of the blocks played in the last `seconds`.
const loudness = (page, seconds) => page.evaluate((span) => {
    const levels = parrunModule.parrunPage.levels;
    if (!levels.length) return 0;
    const last = levels[levels.length - 1][0];
    const recent = levels.filter((l) => l[0] > last - span);
    return recent.reduce((sum, l) => sum + l[1], 0) / recent.length;
}, seconds);

async function main() {
    const server = await web.serve(pageFolder);
    const profile = fs.mkdtempSync(path.join(work, 'profile-'));
    let context = await web.launch(playwright, profile);
    let page = context.pages()[0] || await context.newPage();
    page.on('pageerror', (e) => console.log('page error:', e.message));
    await page.addInitScript(prepare, phrases);
    const results = [];
    const check = (ok, what) => {
        results.push(ok);
        console.log(`${ok ? 'ok' : 'FAIL'}: ${what}`);
    };

    // The title, and its sound before and after the game starts.
    await page.goto(server.url + '?record=/record.txt');
    await started(page);
    await untilRecorded(page, 'report music 0', 1, 20, 'the title music');
    await page.waitForTimeout(1500);
    fs.writeFileSync(path.join(work, 'title.png'), await web.canvasPng(page));
    const titleLoudness = await loudness(page, 1);

    // A game: Enter until it starts, a wrong key then the phrase three times, then the timer.
    await untilRecorded(page, 'report sound 7', 1, 30, 'the game start',
                        () => web.press(page, 'Enter'));
    await page.waitForTimeout(1000);
    const gameLoudness = await loudness(page, 0.8);
    for (let i = 0; i < 3 && (await recorded(page, 'report sound 8')) === 0; ++i) {
        for (const key of ['x', 'a', 'i']) await web.press(page, key);
    }
    await untilRecorded(page, 'report sound 8', 1, 120, 'the game end');
    await untilRecorded(page, 'report music 0', 2, 30, 'the way back to the title',
                        async () => { await web.press(page, 'Enter'); await page.waitForTimeout(150); });
    await web.press(page, 'Escape');
    await web.until(page, () => parrunModule.parrunPage.exitCode !== null, 10, 'the end');
    check(await page.evaluate(() => parrunModule.parrunPage.exitCode) === 0, 'Escape ends the game');
    fs.writeFileSync(path.join(work, 'recording'), Buffer.from(await readFile(page, '/record.txt')));
    fs.writeFileSync(path.join(work, 'last.png'), await web.canvasPng(page));
    const aDat = await readFile(page, '/data/a.dat');
    const keyDat = await readFile(page, '/data/key.dat');
    fs.writeFileSync(path.join(work, 'a.dat'), Buffer.from(aDat || []));
    check(aDat && keyDat, 'the game saved a.dat and key.dat');
    await web.until(page, () => parrunModule.parrunPage.savesKept > 0 && !parrunModule.parrunPage.syncing,
                    10, 'the saves reaching the storage');
    check(titleLoudness > 0.001, `the title music is heard (loudness ${titleLoudness.toFixed(4)})`);
    check(Math.abs(gameLoudness - titleLoudness) > 0.0005,
          `the sound changes when the game starts (${gameLoudness.toFixed(4)})`);

    // A new browser on the same profile finds both files as they were.
    await context.close();
    context = await web.launch(playwright, profile);
    page = context.pages()[0] || await context.newPage();
    await page.addInitScript(prepare, phrases);
    await page.goto(server.url);
    await started(page);
    check(JSON.stringify(await readFile(page, '/data/a.dat')) === JSON.stringify(aDat) &&
          JSON.stringify(await readFile(page, '/data/key.dat')) === JSON.stringify(keyDat),
          'a new browser keeps a.dat and key.dat');

    // A damaged a.dat in the storage: the rankings show what the desktop shows with it.
    await page.evaluate((bytes) => new Promise((resolve) => {
        parrunModule.FS.writeFile('/save/a.dat', Uint8Array.from(bytes, (c) => c.charCodeAt(0)));
        parrunModule.FS.syncfs(false, resolve);
    }), damaged);
    await page.reload();
    await started(page);
    await page.waitForTimeout(500);
    await web.press(page, 'ArrowDown');
    await page.waitForTimeout(300);
    await web.press(page, 'Enter');
    await page.waitForTimeout(1500);
    fs.writeFileSync(path.join(work, 'damaged-rankings.png'), await web.canvasPng(page));

    await context.close();
    server.close();
    return results.every(Boolean) ? 0 : 1;
}

main().then((code) => process.exit(code), (error) => {
    console.log('FAIL:', error.message);
    process.exit(1);
});
