// Phones: the presentation page and the player page on a 390 x 844 touch screen
// held upright and sideways, every control at least 44 pixels, inside the screen
// and clear of the others; the gyroscope, with and without a permission prompt.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { launch, openPage, openPlayer, playerDrawn, publishCase, screenshot, serve, viewState } from './lib/harness.mjs';

const UPRIGHT = { width: 390, height: 844 };
const SIDEWAYS = { width: 844, height: 390 };
const CONTROLS = ['#leftBT', '#upBT', '#stopBT', '#downBT', '#rightBT', '#zoominBT', '#zoomoutBT', '#restartBT',
    '#ab', '#qm-gyro', '#play', '#progress', '#volume', '#full_screen'];
let server;
let browser;

before(async () => {
    const dir = await publishCase('phone', {
        // Dark blue page, and a title with a character to escape.
        settings: [['HTMLBGCOLOR', '402010'], ['HTMLTITLE', 'Harbour & hall']],
        // Shown from a tenth of a second on; the measuring waits for it.
        hotSpots: [{ slot: 1, yaw: 20, pos: 0.1, time: 600, title: 'Quay', link: 'quay.html' }],
    });
    server = await serve(dir);
    browser = await launch();
});

after(async () => {
    await browser?.close();
    await server?.stop();
});

// Boxes of the visible controls in page coordinates.
async function controlBoxes(frame) {
    await frame.locator('#hs1').waitFor({ state: 'visible', timeout: 10000 });
    const boxes = {};
    for (const selector of [...CONTROLS, '#muteON', '#muteOFF', '#hs1']) {
        const element = frame.locator(selector);
        if (await element.isVisible()) boxes[selector] = await element.boundingBox();
    }
    return boxes;
}

function assertFingerSized(boxes, screen, label) {
    for (const selector of [...CONTROLS, '#hs1']) assert.ok(boxes[selector], `${label}: ${selector} shown`);
    assert.ok(boxes['#muteON'] || boxes['#muteOFF'], `${label}: a mute button shown`);
    const entries = Object.entries(boxes);
    for (const [selector, box] of entries) {
        assert.ok(box.width >= 44 && box.height >= 44, `${label}: ${selector} is ${box.width} x ${box.height}`);
        assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= screen.width && box.y + box.height <= screen.height,
            `${label}: ${selector} inside the screen`);
    }
    // Controls never cover each other (a hot spot may lie under the row).
    for (const [i, [a, boxA]] of entries.entries()) {
        for (const [b, boxB] of entries.slice(i + 1)) {
            if (a === '#hs1' || b === '#hs1') continue;
            const apart = boxA.x + boxA.width <= boxB.x + 0.5 || boxB.x + boxB.width <= boxA.x + 0.5 ||
                boxA.y + boxA.height <= boxB.y + 0.5 || boxB.y + boxB.height <= boxA.y + 0.5;
            assert.ok(apart, `${label}: ${a} and ${b} overlap`);
        }
    }
}

for (const [name, screen] of [['upright', UPRIGHT], ['sideways', SIDEWAYS]]) {
    test(`presentation page and player page fit a phone held ${name}`, async () => {
        const { page, context, problems } = await openPage(browser, server, { viewport: screen, touch: true, page: 'index.html' });
        assert.equal(await page.title(), 'Harbour & hall');
        assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), screen.width, 'no sideways scrolling');
        // The heading is white on the dark blue page.
        assert.equal(await page.evaluate(() => getComputedStyle(document.body).color), 'rgb(255, 255, 255)');
        const start = page.locator('#button');
        const startBox = await start.boundingBox();
        assert.ok(startBox.height >= 44 && startBox.y + startBox.height <= screen.height, 'start button finger-sized and in view');
        await start.tap();
        const frame = await (await page.locator('#iframe').elementHandle()).contentFrame();
        await playerDrawn(frame);
        const frameBox = await page.locator('#iframe').boundingBox();
        assert.ok(frameBox.x + frameBox.width <= screen.width && frameBox.y + frameBox.height <= screen.height);
        assertFingerSized(await controlBoxes(frame), screen, `${name}, in the presentation page`);
        await screenshot(page, `phone-presentation-${name}`);
        await context.close();

        const direct = await openPlayer(browser, server, { viewport: screen, touch: true });
        assertFingerSized(await controlBoxes(direct.page), screen, `${name}, player page`);
        // Hidden pictures take no room: the page is no larger than the screen,
        // so the browser keeps no bigger surface than it shows for every frame.
        const extent = await direct.page.evaluate(() => [document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight]);
        assert.deepEqual(extent, [screen.width, screen.height], `${name}: the page's extent`);
        await screenshot(direct.page, `phone-player-${name}`);
        assert.deepEqual([...problems, ...direct.problems], []);
        await direct.context.close();
    });
}

// A deviceorientation event as a phone's sensors send it.
const orient = (page, alpha, beta, gamma) =>
    page.evaluate(([a, b, g]) => window.dispatchEvent(new DeviceOrientationEvent('deviceorientation', { alpha: a, beta: b, gamma: g })), [alpha, beta, gamma]);

test('gyroscope: asked for from a tap, the view follows the phone, dragging still works, the button turns it off', async () => {
    const askFirst = () => {
        window.__permissionAsks = [];
        DeviceOrientationEvent.requestPermission = async () => {
            window.__permissionAsks.push(navigator.userActivation?.isActive ?? 'unknown');
            return 'granted';
        };
    };
    const { page, context, problems } = await openPlayer(browser, server, { viewport: UPRIGHT, touch: true, init: [askFirst] });
    const gyro = page.getByRole('button', { name: 'Follow the device’s movement' });
    assert.equal(await gyro.getAttribute('aria-pressed'), 'false', 'shown, off until asked');
    await gyro.tap();
    assert.deepEqual(await page.evaluate(() => window.__permissionAsks), [true], 'asked once, inside the tap');
    assert.equal(await gyro.getAttribute('aria-pressed'), 'true');

    // Upright, then turned 30 degrees to the left and tilted 20 degrees up.
    await orient(page, 0, 90, 0);
    await orient(page, 30, 110, 0);
    let view = await viewState(page);
    assert.ok(Math.abs(view.lon + 30) < 0.01 && Math.abs(view.lat - 20) < 0.01, `followed to ${view.lon}, ${view.lat}`);

    // A finger drag adds to where the phone points.
    const box = await page.locator('#container canvas').boundingBox();
    const y = box.y + box.height / 2;
    const swipe = (type, x) => page.locator('#container canvas').dispatchEvent(type, { pointerId: 7, pointerType: 'touch', isPrimary: true, clientX: x, clientY: y, button: 0 });
    await swipe('pointerdown', box.x + 200);
    await swipe('pointermove', box.x + 100);
    await swipe('pointerup', box.x + 100);
    view = await viewState(page);
    assert.ok(Math.abs(view.lon + 20) < 0.5, `a 100 pixel swipe left turns 10 degrees right: ${view.lon}`);
    await orient(page, 40, 110, 0);
    assert.ok(Math.abs((await viewState(page)).lon + 30) < 0.5, 'the phone keeps turning the view after the drag');
    await screenshot(page, 'phone-gyroscope');

    await gyro.tap();
    assert.equal(await gyro.getAttribute('aria-pressed'), 'false');
    const before = await viewState(page);
    await orient(page, 90, 60, 0);
    assert.deepEqual(await viewState(page), before, 'turned off: the phone no longer moves the view');
    assert.deepEqual(problems, []);
    await context.close();
});

test('gyroscope: where no permission is asked, the first sensor report shows the button and starts following', async () => {
    const noPrompt = () => delete DeviceOrientationEvent.requestPermission;
    const { page, context } = await openPlayer(browser, server, { viewport: SIDEWAYS, touch: true, init: [noPrompt] });
    const gyro = page.locator('#qm-gyro');
    assert.equal(await gyro.isVisible(), false, 'no sensors reported yet');
    // Sideways the screen is turned a quarter: the phone's roll about its long side tilts the view.
    await page.evaluate(() => Object.defineProperty(screen.orientation, 'angle', { value: 90 }));
    await orient(page, 0, 0, -90);
    await orient(page, 0, 0, -70);
    assert.equal(await gyro.isVisible(), true);
    assert.equal(await gyro.getAttribute('aria-pressed'), 'true');
    const view = await viewState(page);
    assert.ok(Math.abs(view.lat + 20) < 0.01 && Math.abs(view.lon) < 0.01, `tilting the sideways phone looks down: ${view.lat}`);
    await context.close();
});
