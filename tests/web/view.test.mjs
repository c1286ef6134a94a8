// Looking around: the start direction, dragging, the pan and zoom buttons, the
// wheel, the keyboard and the vertical limit, checked on the canvas's pixels.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { dismissTitle, holdAt, launch, openPlayer, publishCase, screenshot, serve, settle, viewState } from './lib/harness.mjs';
import { canvasColours, nameColour, namesAt, sectorOf } from './lib/pixels.mjs';

// YAW item 4 is " 60 град.", TILT item 3 is " 45  град.".
const START_LON = 60;
const VERT_MAX = 45;
let server;
let browser;
let player;

before(async () => {
    const dir = await publishCase('view', { settings: [['YAW', 4], ['TILT', 3]] });
    server = await serve(dir);
    browser = await launch();
    player = await openPlayer(browser, server);
    // Passing over the title panel puts it away, as a viewer would.
    await dismissTitle(player.page);
    await holdAt(player.page, 1);
});

after(async () => {
    await browser?.close();
    await server?.stop();
});

async function expectFacing(lon, label) {
    const names = await namesAt(player.page, [
        [0, 22],
        [-30, 22],
        [30, 22],
    ]);
    assert.deepEqual(
        names,
        [sectorOf(lon), sectorOf(lon - 30), sectorOf(lon + 30)],
        `${label}: centre, left and right of the view`,
    );
}

test('starts at the published lon, picture not mirrored', async () => {
    const { page } = player;
    assert.equal(await page.locator('#titlePN').isVisible(), false, 'the title panel went away');
    const state = await viewState(page);
    assert.equal(state.lon, START_LON);
    assert.equal(state.fov, 120);
    await expectFacing(START_LON, 'start');
    await screenshot(page, 'view-start');
});

test('no seam where the sphere closes behind the start direction', async () => {
    const { page } = player;
    await page.evaluate(() => window.__quillmarkPlayer.view.lookTo(180, 0));
    await settle(page);
    // Every pixel column within two degrees of the join shows the cyan sector of 180.
    const directions = Array.from({ length: 41 }, (_, i) => [(i - 20) * 0.1, 22]);
    assert.deepEqual(await namesAt(page, directions), directions.map(() => 180));
    await screenshot(page, 'view-join');
    await page.evaluate((lon) => window.__quillmarkPlayer.view.lookTo(lon, 0), START_LON);
    await settle(page);
});

test('dragging to the left turns the view right by mousespeed', async () => {
    const { page } = player;
    const box = await page.locator('#container canvas').boundingBox();
    const y = box.y + box.height * 0.4;
    const before = (await viewState(page)).lon;
    await page.mouse.move(box.x + box.width * 0.75, y);
    await page.mouse.down();
    await page.mouse.move(box.x + box.width * 0.2, y, { steps: 8 });
    await page.mouse.up();
    await settle(page);
    const moved = (await viewState(page)).lon - before;
    // 0.1 degree per pixel at the default mouse speed 0.020.
    const pixels = Math.round(box.width * 0.75) - Math.round(box.width * 0.2);
    assert.ok(Math.abs(moved - pixels * 0.1) < 1, `turned ${moved} degrees for ${pixels} pixels`);
    await expectFacing((await viewState(page)).lon, 'after the drag');
    await screenshot(page, 'view-dragged');
});

test('pan buttons turn the view until Stop Panning', async () => {
    const { page } = player;
    const start = (await viewState(page)).lon;
    await page.click('#leftBT');
    await page.waitForFunction((lon) => window.__quillmarkPlayer.view.lon < lon - 25, start, { timeout: 30000 });
    await page.click('#stopBT');
    await settle(page);
    const stopped = (await viewState(page)).lon;
    await page.waitForTimeout(600);
    await settle(page);
    assert.equal((await viewState(page)).lon, stopped, 'the view stays after Stop Panning');
    await expectFacing(stopped, 'after panning left');

    await page.click('#rightBT');
    await page.waitForFunction((lon) => window.__quillmarkPlayer.view.lon > lon + 25, stopped, { timeout: 30000 });
    await page.click('#stopBT');

    await page.click('#upBT');
    await page.waitForFunction((max) => window.__quillmarkPlayer.view.lat >= max, VERT_MAX, { timeout: 30000 });
    await page.waitForTimeout(300);
    assert.equal((await viewState(page)).lat, VERT_MAX, 'panning up stops at vertmax');
    await page.click('#downBT');
    await page.waitForFunction(() => window.__quillmarkPlayer.view.lat <= 0, null, { timeout: 30000 });
    await page.click('#stopBT');
    await settle(page);
    await screenshot(page, 'view-panned');
});

test('a held button shows its pressed picture', async () => {
    const { page } = player;
    const button = page.locator('#zoominBT');
    const box = await button.boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.down();
    assert.match(await button.getAttribute('src'), /images\/zoominD\.png$/);
    await page.mouse.up();
    assert.match(await button.getAttribute('src'), /images\/zoominL\.png$/);
    await page.mouse.move(5, 5);
    await page.evaluate(() => window.__quillmarkPlayer.view.zoomTo(120));
});

test('zoom buttons, wheel and keys keep fov within 40..130', async () => {
    const { page } = player;
    await page.evaluate(() => window.__quillmarkPlayer.view.lookTo(0, 0));
    const fovs = [];
    for (let i = 0; i < 10; ++i) {
        await page.click('#zoominBT');
        fovs.push((await viewState(page)).fov);
    }
    assert.deepEqual(fovs, [110, 100, 90, 80, 70, 60, 50, 40, 40, 40]);
    await settle(page);
    // Narrow view: both sides of the centre still show the red sector of lon 0.
    assert.deepEqual(await namesAt(page, [[-10, 12], [10, 12]]), [0, 0]);
    await screenshot(page, 'view-zoomed-in');

    const box = await page.locator('#container canvas').boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    for (let i = 0; i < 8; ++i) await page.mouse.wheel(0, 400);
    await settle(page);
    assert.equal((await viewState(page)).fov, 130);
    // Wide view: 50 degrees either side of lon 0 lies in the sectors -60 and 60.
    assert.deepEqual(await namesAt(page, [[-50, 15], [50, 15]]), [-60, 60]);
    await screenshot(page, 'view-zoomed-out');

    await page.click('#zoomoutBT');
    assert.equal((await viewState(page)).fov, 130);
    await page.locator('#container').focus();
    await page.keyboard.press('+');
    assert.equal((await viewState(page)).fov, 120);
    await page.keyboard.press('-');
    await page.keyboard.press('-');
    assert.equal((await viewState(page)).fov, 130);
});

test('keyboard arrows look around while the player has focus; the view stays within vertmax', async () => {
    const { page } = player;
    await page.evaluate(() => window.__quillmarkPlayer.view.lookTo(0, 0));
    await page.locator('#container').focus();
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowRight');
    assert.equal((await viewState(page)).lon, 10);
    for (let i = 0; i < 20; ++i) await page.keyboard.press('ArrowUp');
    assert.equal((await viewState(page)).lat, VERT_MAX);

    const box = await page.locator('#container canvas').boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + 10);
    await page.mouse.down();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height - 10, { steps: 4 });
    await page.mouse.up();
    assert.equal((await viewState(page)).lat, VERT_MAX, 'dragging down looks up, no further than vertmax');
    await settle(page);
    // The view centre sits on the sky band's lower edge at 45 degrees up.
    const [above, below] = (await canvasColours(page, [[0.5, 0.4], [0.5, 0.6]])).map((rgb) => nameColour(rgb));
    assert.deepEqual([above, below], ['sky', 0]);
    await screenshot(page, 'view-at-vertmax');
    assert.deepEqual(player.problems, []);
});

test('touch: one finger drags the view, two fingers pinch the zoom', async () => {
    const { page } = player;
    await page.evaluate(() => {
        window.__quillmarkPlayer.view.lookTo(0, 0);
        window.__quillmarkPlayer.view.zoomTo(100);
    });
    const box = await page.locator('#container canvas').boundingBox();
    const cx = box.x + box.width / 2;
    const cy = box.y + box.height * 0.45;
    const cdp = await page.context().newCDPSession(page);
    const touch = (type, points) =>
        cdp.send('Input.dispatchTouchEvent', {
            type,
            touchPoints: points.map(([x, y], id) => ({ x, y, id, radiusX: 2, radiusY: 2, force: 1 })),
        });

    await touch('touchStart', [[cx + 100, cy]]);
    for (let step = 1; step <= 5; ++step) await touch('touchMove', [[cx + 100 - step * 40, cy]]);
    await touch('touchEnd', []);
    assert.ok(Math.abs((await viewState(page)).lon - 20) < 1, 'a 200 pixel swipe to the left turns 20 degrees right');

    // Fingers moving apart to twice their distance halve the field of view.
    await touch('touchStart', [[cx - 50, cy], [cx + 50, cy]]);
    for (let step = 1; step <= 5; ++step) await touch('touchMove', [[cx - 50 - step * 10, cy], [cx + 50 + step * 10, cy]]);
    await touch('touchEnd', []);
    assert.ok(Math.abs((await viewState(page)).fov - 50) < 1, `pinched to ${(await viewState(page)).fov}`);
    await cdp.detach();
});
