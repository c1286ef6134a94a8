// What a viewer sees, in the browser engine QM_ENGINE names (chromium, firefox or
// webkit): autoplay refused with sound, the first frame and its direction, hot
// spots in their time window over their yaw, the controls, full screen, the
// phone layout and, with WebGL turned off, the video shown flat under a message.
// Where the engine cannot do something here the test says so and checks the rest.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { ENGINES, launchEngine, waitFor } from '../../../tools/web/engines.mjs';
import { holdAt, serve, settle, viewState } from '../lib/harness.mjs';
import { namesAt, sectorOf, screenPoint } from '../lib/pixels.mjs';
import { canvasColours, centreOf, openViewer, publishProbed, saveScreenshot, shownBox } from '../lib/viewer.mjs';

const ENGINE = process.env.QM_ENGINE ?? 'chromium';
assert.ok(ENGINES.includes(ENGINE), `QM_ENGINE ${ENGINE} is one of ${ENGINES}`);
// YAW item 4 is " 60 град.".
const START_LON = 60;
const HOT_SPOTS = [
    { slot: 1, yaw: 40, pos: 2, time: 3, title: 'North door', link: 'north.html' },
    { slot: 2, yaw: -40, pos: 2, time: 3, title: 'West door', link: 'west.html' },
];
const PHONE = { width: 390, height: 844 };
let server;
let engine;
let tab;

before(async () => {
    server = await serve(await publishProbed(`engine-${ENGINE}`, { settings: [['YAW', 4]], hotSpots: HOT_SPOTS }));
    engine = await launchEngine(ENGINE);
    tab = await openViewer(engine, server);
});

after(async () => {
    await engine?.close();
    await server?.stop();
});

const videoState = () => tab.evaluate(() => {
    const video = document.getElementById('video');
    return { paused: video.paused, muted: video.muted, time: video.currentTime };
});
const noErrors = async (label) => assert.deepEqual(await tab.evaluate(() => window.__qmErrors), [], label);

async function clickOn(selector) {
    const box = await shownBox(tab, selector);
    assert.ok(box, `${selector} is shown`);
    const { x, y } = centreOf(box);
    await tab.click(x, y);
}

test('autoplay with sound refused: plays muted and asks for the sound', async () => {
    await waitFor(tab, () => document.getElementById('video').currentTime > 0.5, null, { what: 'playback' });
    const { paused, muted } = await videoState();
    assert.deepEqual({ paused, muted }, { paused: false, muted: true });
    assert.ok(await tab.evaluate(() => document.getElementById('muteOFF').classList.contains('qm-attention')));
    await saveScreenshot(tab, engine, 'autoplay-muted');
    await clickOn('#muteOFF');
    await waitFor(tab, () => !document.getElementById('video').muted, null, { what: 'the sound' });
    assert.ok(await shownBox(tab, '#muteON'), 'the mute button replaces the unmute button');
    await noErrors();
});

test('the first frame faces the published direction, not mirrored', async () => {
    await tab.evaluate(() => window.__quillmarkPlayer.buttons.hideTitle());
    await holdAt(tab, 1);
    assert.equal((await viewState(tab)).lon, START_LON);
    const names = await namesAt(tab, [[0, 22], [-30, 22], [30, 22]], canvasColours);
    assert.deepEqual(names, [START_LON, START_LON - 30, START_LON + 30].map(sectorOf), 'centre, left, right');
    await saveScreenshot(tab, engine, 'first-frame');
});

test('hot spots show within their time window, over their yaw', async () => {
    await tab.evaluate(() => window.__quillmarkPlayer.view.lookTo(0, 0));
    for (const [seconds, shown] of [[1, false], [3, true], [5.2, false]]) {
        await holdAt(tab, seconds);
        for (const selector of ['#hs1', '#hs2', '#check_hs']) {
            assert.equal(Boolean(await shownBox(tab, selector)), shown, `${selector} at ${seconds} s`);
        }
        if (!shown) continue;
        const canvas = await shownBox(tab, '#container canvas');
        for (const { slot, yaw } of HOT_SPOTS) {
            const [fx, fy] = screenPoint(yaw, 0, 120, canvas.width / canvas.height);
            const at = centreOf(await shownBox(tab, `#hs${slot}`));
            assert.ok(Math.abs(at.x - canvas.x - fx * canvas.width) <= 2 && Math.abs(at.y - canvas.y - fy * canvas.height) <= 2,
                `hs${slot} at ${at.x}, ${at.y}`);
        }
        await saveScreenshot(tab, engine, 'hotspots');
    }
});

test('dragging, play and pause, seeking, the time display and mute', async () => {
    const canvas = await shownBox(tab, '#container canvas');
    const before = (await viewState(tab)).lon;
    const [fromX, toX, y] = [canvas.x + canvas.width * 0.75, canvas.x + canvas.width * 0.2, canvas.y + canvas.height * 0.4];
    await tab.drag({ x: fromX, y }, { x: toX, y });
    await settle(tab);
    // 0.1 degree per pixel at the default mouse speed.
    const turned = (await viewState(tab)).lon - before;
    assert.ok(Math.abs(turned - (Math.round(fromX) - Math.round(toX)) * 0.1) < 1.5, `turned ${turned} degrees`);

    await clickOn('#play');
    await waitFor(tab, () => !document.getElementById('video').paused, null, { what: 'play' });
    await clickOn('#play');
    assert.equal((await videoState()).paused, true);
    const bar = await shownBox(tab, '#total');
    await tab.click(bar.x + bar.width * 0.75, bar.y + bar.height / 2);
    await waitFor(tab, () => document.getElementById('current_time_display').textContent === '00:07', null, { what: 'the seek' });
    assert.ok(Math.abs((await videoState()).time - 7.5) < 0.3);
    await clickOn('#muteON');
    assert.equal((await videoState()).muted, true);
    await saveScreenshot(tab, engine, 'controls');
    await noErrors();
});

test('the full-screen switch fills the screen and gives it back', async () => {
    await clickOn('#full_screen');
    await waitFor(tab, () => document.fullscreenElement !== null, null, { what: 'full screen' });
    await settle(tab);
    const [box, screen] = [await shownBox(tab, '#container'), await tab.evaluate(() => [innerWidth, innerHeight])];
    assert.deepEqual([box.width, box.height], screen, 'the player fills the screen');
    await saveScreenshot(tab, engine, 'full-screen');
    await clickOn('#full_screen');
    await waitFor(tab, () => document.fullscreenElement === null, null, { what: 'leaving full screen' });
    await noErrors();
});

test('on a phone-sized screen every control lies inside it, apart from the others', async (t) => {
    await engine.close();
    engine = await launchEngine(ENGINE, { touch: true });
    tab = await openViewer(engine, server, { viewport: { ...PHONE, hasTouch: true } });
    const coarse = await tab.evaluate(() => matchMedia('(pointer: coarse)').matches);
    assert.equal(coarse, !engine.limits.touch, 'touch emulation as expected');
    if (!coarse) t.diagnostic(`NOT CHECKED in ${ENGINE}: finger-sized controls (${engine.limits.touch}); layout checked with a mouse`);
    const screen = await tab.evaluate(() => ({ width: innerWidth, height: innerHeight }));
    if (engine.limits.phoneWidth) {
        t.diagnostic(`NOT CHECKED in ${ENGINE}: ${PHONE.width} pixels wide (${engine.limits.phoneWidth}); checked at ${screen.width} x ${screen.height}`);
        assert.ok(screen.width < 480 && screen.height === PHONE.height, `a phone-sized screen: ${screen.width} x ${screen.height}`);
    } else {
        assert.deepEqual(screen, PHONE);
    }
    const selectors = ['#leftBT', '#upBT', '#stopBT', '#downBT', '#rightBT', '#zoominBT', '#zoomoutBT', '#restartBT',
        '#play', '#progress', '#volume', '#full_screen', '#muteON', '#muteOFF', '#qm-gyro'];
    const boxes = (await Promise.all(selectors.map(async (s) => [s, await shownBox(tab, s)]))).filter(([, box]) => box);
    assert.ok(boxes.length >= 12, `${boxes.length} controls shown`);
    for (const [i, [name, box]] of boxes.entries()) {
        assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= screen.width && box.y + box.height <= screen.height, `${name} inside`);
        if (coarse) assert.ok(box.width >= 44 && box.height >= 44, `${name} finger-sized`);
        for (const [other, b] of boxes.slice(i + 1)) {
            const apart = box.x + box.width <= b.x + 0.5 || b.x + b.width <= box.x + 0.5 ||
                box.y + box.height <= b.y + 0.5 || b.y + b.height <= box.y + 0.5;
            assert.ok(apart, `${name} and ${other} apart`);
        }
    }
    await saveScreenshot(tab, engine, 'phone');
    await noErrors();
    await tab.close();
});

test('without WebGL the video plays flat under a message', async () => {
    await engine.close();
    engine = await launchEngine(ENGINE, { webgl: false });
    tab = await openViewer(engine, server, { flat: true });
    const message = await tab.evaluate(() => document.getElementById('qm-no-webgl')?.textContent ?? '');
    assert.match(message, /^This 360° video needs WebGL/);
    assert.ok(await shownBox(tab, '#qm-no-webgl'), 'the message is shown');
    const [video, container] = [await shownBox(tab, '#video'), await shownBox(tab, '#container')];
    assert.deepEqual(video, container, 'the video fills the player box');
    const start = (await videoState()).time;
    await waitFor(tab, (t) => document.getElementById('video').currentTime > t + 0.5, start, { what: 'flat playback' });
    // A hot spot stands over its place in the flat frame (2:1, kept in the box).
    await holdAt(tab, 3);
    const frameHeight = Math.min(container.height, container.width / 2);
    const at = centreOf(await shownBox(tab, '#hs1'));
    const [x, y] = [container.x + container.width / 2 + (frameHeight * 2 * HOT_SPOTS[0].yaw) / 360, container.y + container.height / 2];
    assert.ok(Math.abs(at.x - x) <= 2 && Math.abs(at.y - y) <= 2, `hs1 at ${at.x}, ${at.y}, not ${x}, ${y}`);
    await saveScreenshot(tab, engine, 'no-webgl');
    await noErrors();
});
