// Published modes and limits: black areas in OS_COLOR, the Stats panel, the
// frame-rate cap and no drawing while nothing changes, the scrambled
// configuration script being what runs, full-window mode and alignment.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { browserForFile, demoClip, dismissTitle, holdAt, openPlayer, screenshot } from './lib/harness.mjs';
import { canvasColours, hexRgb, nameColour, near } from './lib/pixels.mjs';

const run = browserForFile();
const servedCase = (name, options) => run.servedCase(name, options);

test('black areas: the zones outside the picture show OS_COLOR', async () => {
    // VIEWMODE 1, the area colour stored as 0x00BBGGRR (here red 0, green AA, blue 55),
    // PITCH item 2 looks 30 degrees up so the cap above the picture is in view.
    const server = await servedCase('black-areas', {
        clip: demoClip('demo-black.mp4'),
        settings: [['VIEWMODE', 1], ['BLACKAREACOLOR', '55AA00'], ['PITCH', 2]],
    });
    const { page, context, problems } = await openPlayer(run.browser, server);
    await dismissTitle(page);
    assert.equal(await page.evaluate(() => window.OS_COLOR), '#00AA55');
    await holdAt(page, 2);
    // Straight up lies far above the picture's top edge at 60 degrees; 45 degrees
    // up is inside the picture's sky band.
    const [cap, sky] = await canvasColours(page, [[0.5, 0.02], [0.5, 0.42]]);
    assert.ok(near(cap, hexRgb('#00AA55')), `cap above the picture ${cap}`);
    assert.equal(nameColour(sky), 'sky');
    assert.equal(await page.locator('#qm-stats').count(), 0, 'no Stats panel unless asked');
    await screenshot(page, 'modes-black-areas');
    assert.deepEqual(problems, []);
    await context.close();
});

// Counts the video frame callbacks the page receives.
function countFrameCallbacks() {
    const request = HTMLVideoElement.prototype.requestVideoFrameCallback;
    window.__qmFrameCallbacks = 0;
    HTMLVideoElement.prototype.requestVideoFrameCallback = function (callback) {
        return request.call(this, (...args) => {
            window.__qmFrameCallbacks += 1;
            return callback(...args);
        });
    };
}

test('the frame-rate cap holds while playing, and nothing is drawn while nothing changes', async () => {
    // MAXFPS item 2 publishes OS_FPS 7; WINDOW item 1 keeps software drawing fast.
    const server = await servedCase('fps', { settings: [['MAXFPS', 2], ['WINDOW', 1]] });
    const { page, context } = await openPlayer(run.browser, server, { init: [countFrameCallbacks] });
    assert.equal(await page.evaluate(() => window.OS_FPS), 7);
    await page.waitForFunction(() => document.getElementById('video').currentTime > 1);
    const { draws, callbacks } = await page.evaluate(async () => {
        const start = window.__qmDrawTimes.length;
        const callbacksBefore = window.__qmFrameCallbacks;
        await new Promise((done) => setTimeout(done, 3000));
        return { draws: window.__qmDrawTimes.slice(start), callbacks: window.__qmFrameCallbacks - callbacksBefore };
    });
    assert.ok(draws.length >= 3, `only ${draws.length} draws in 3 s of playback`);
    // The clip has more pictures a second than the cap: the page is not called
    // for the ones it may not draw.
    assert.ok(callbacks <= draws.length + 1, `${callbacks} video frame callbacks for ${draws.length} draws`);
    for (let i = 7; i < draws.length; ++i) {
        assert.ok(draws[i] - draws[i - 7] >= 1000, `8 draws within ${draws[i] - draws[i - 7]} ms`);
    }
    await holdAt(page, 2);
    const idle = await page.evaluate(async () => {
        const start = window.__qmDrawTimes.length;
        await new Promise((done) => setTimeout(done, 1500));
        return window.__qmDrawTimes.length - start;
    });
    assert.equal(idle, 0, 'a paused video without input draws nothing');
    await screenshot(page, 'modes-fps-cap');
    await context.close();
});

test('the scrambled configuration script is what runs', async () => {
    // ZOOM item 7 publishes fov 100.
    const server = await servedCase('scrambled', { settings: [['ZOOM', 7]] });
    const script = await (await fetch(`${server.base}js/ctr/cn0.js`)).text();
    assert.ok(script.startsWith('function unknown(){'), 'decoy prelude first');
    assert.match(script, /eval\(unescape\(/);
    assert.doesNotMatch(script, /var fov/, 'no readable configuration');
    const { page, context } = await openPlayer(run.browser, server);
    assert.equal(await page.evaluate(() => window.fov), 100);
    assert.equal(await page.evaluate(() => window.__quillmarkPlayer.view.fov), 100);
    assert.equal(await page.evaluate(() => window.HotSpotItem_pos.length), 10);
    await holdAt(page, 1);
    await screenshot(page, 'modes-scrambled-fov100');
    await context.close();
});

test('full-window mode fills the window and follows its size', async () => {
    const server = await servedCase('full-window', { settings: [['FULLSCREEN', 1]] });
    const { page, context } = await openPlayer(run.browser, server, { viewport: { width: 800, height: 600 } });
    const rect = () => page.locator('#container').boundingBox();
    assert.deepEqual(await rect(), { x: 0, y: 0, width: 800, height: 600 });
    assert.equal(await page.evaluate(() => window.posY), 46);
    await page.setViewportSize({ width: 640, height: 420 });
    await page.waitForFunction(() => document.getElementById('container').offsetWidth === 640);
    assert.deepEqual(await rect(), { x: 0, y: 0, width: 640, height: 420 });
    const canvas = await page.locator('#container canvas').boundingBox();
    assert.deepEqual([canvas.width, canvas.height], [640, 420]);
    await holdAt(page, 1);
    await screenshot(page, 'modes-full-window');
    await context.close();
});

test('the player sits where the alignment words say, with the Stats panel when asked', async () => {
    // WINDOW item 1 (320 x 240), WIN_POS_X item 4 (center), WIN_POS_Y item 3 (bottom), STAT on.
    const server = await servedCase('aligned', {
        settings: [['WINDOW', 1], ['WIN_POS_X', 4], ['WIN_POS_Y', 3], ['STAT', 1]],
    });
    const { page, context } = await openPlayer(run.browser, server, { viewport: { width: 800, height: 600 } });
    assert.deepEqual(await page.locator('#container').boundingBox(), { x: 240, y: 360, width: 320, height: 240 });
    const stats = page.locator('#qm-stats');
    assert.equal(await stats.isVisible(), true);
    const box = await stats.boundingBox();
    assert.deepEqual([box.x, box.y], [240, 360], 'in the player\'s top left corner');
    const about = await page.locator('#ab').boundingBox();
    assert.ok(about.x >= 240 && about.x + about.width <= 560 && about.y >= 360, 'the About picture is placed inside the player');
    await holdAt(page, 1);
    await screenshot(page, 'modes-aligned-stats');
    await context.close();
});
