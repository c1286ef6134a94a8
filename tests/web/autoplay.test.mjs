// Starting playback: where the browser refuses autoplay with sound, the player
// starts muted and asks for the sound with a visible unmute button; a package
// published muted starts muted without asking.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { dismissTitle, launch, openPlayer, publishCase, screenshot, serve } from './lib/harness.mjs';
import { canvasColours, nameColour } from './lib/pixels.mjs';

const servers = [];
const browsers = [];

async function servedCase(name, options) {
    const server = await serve(await publishCase(name, options));
    servers.push(server);
    return server;
}

async function browserWith(autoplay) {
    const browser = await launch({ autoplay });
    browsers.push(browser);
    return browser;
}

let plain;

before(async () => {
    plain = await servedCase('autoplay');
});

after(async () => {
    for (const browser of browsers) await browser.close();
    for (const server of servers) await server.stop();
});

const videoState = (page) =>
    page.evaluate(() => {
        const video = document.getElementById('video');
        return { paused: video.paused, muted: video.muted };
    });

test('refused autoplay with sound: plays muted, shows the unmute button, not a black frame', async () => {
    const browser = await browserWith('document-user-activation-required');
    const { page, context, problems } = await openPlayer(browser, plain);
    await page.waitForFunction(() => document.getElementById('video').currentTime > 0.5);
    assert.deepEqual(await videoState(page), { paused: false, muted: true });
    const unmute = page.locator('#muteOFF');
    assert.equal(await unmute.isVisible(), true);
    assert.ok(await unmute.evaluate((node) => node.classList.contains('qm-attention')));
    const box = await unmute.boundingBox();
    assert.ok(box.width >= 40, 'the unmute button is drawn large enough to notice');
    await dismissTitle(page);
    const [centre] = await canvasColours(page, [[0.5, 0.35]]);
    assert.equal(nameColour(centre), 0, 'the picture of lon 0 is drawn');
    await screenshot(page, 'autoplay-refused');

    await unmute.click();
    assert.deepEqual(await videoState(page), { paused: false, muted: false });
    assert.equal(await page.locator('#muteON').isVisible(), true);
    assert.equal(await unmute.isVisible(), false);
    assert.deepEqual(problems, []);
    await context.close();
});

test('allowed autoplay plays with sound at OS_VOLUME', async () => {
    const browser = await browserWith('no-user-gesture-required');
    const { page, context } = await openPlayer(browser, plain);
    await page.waitForFunction(() => document.getElementById('video').currentTime > 0.5);
    assert.deepEqual(await videoState(page), { paused: false, muted: false });
    assert.equal(await page.evaluate(() => document.getElementById('video').volume), 0.5);
    assert.equal(await page.locator('#muteON').isVisible(), true);
    assert.equal(await page.evaluate(() => document.getElementById('video').playsInline), true);
    await screenshot(page, 'autoplay-allowed');
    await context.close();
});

test('a package published muted starts muted without asking for sound', async () => {
    const muted = await servedCase('autoplay-muted', { flags: ['--muted'] });
    const browser = await browserWith('no-user-gesture-required');
    const { page, context } = await openPlayer(browser, muted);
    await page.waitForFunction(() => document.getElementById('video').currentTime > 0.5);
    assert.deepEqual(await videoState(page), { paused: false, muted: true });
    const unmute = page.locator('#muteOFF');
    assert.equal(await unmute.isVisible(), true);
    assert.equal(await unmute.evaluate((node) => node.classList.contains('qm-attention')), false);
    await screenshot(page, 'autoplay-published-muted');
    await context.close();
});
