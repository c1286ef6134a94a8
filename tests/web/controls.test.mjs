// The control panel and the page buttons acting on the video element: play and
// pause, seeking on the progress bar, the time display, the six volume steps,
// mute, restart, and the full-screen switch free or locked; the panel hidden or
// compact as published.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { browserForFile, dismissTitle, holdAt, openPlayer, screenshot } from './lib/harness.mjs';

const video = (page, read) => page.evaluate(read);
const run = browserForFile();
const servedCase = (name, options) => run.servedCase(name, options);

test('play/pause, seek, time display, volume, mute and restart act on the video', async () => {
    const server = await servedCase('controls');
    const { page, context, problems } = await openPlayer(run.browser, server);
    await dismissTitle(page);
    const paused = () => video(page, () => document.getElementById('video').paused);

    assert.equal(await paused(), false, 'autoplay runs');
    await page.click('#play');
    assert.equal(await paused(), true);
    assert.ok(await page.locator('#play').evaluate((node) => node.classList.contains('play')));
    await page.click('#play');
    assert.equal(await paused(), false);
    assert.ok(await page.locator('#play').evaluate((node) => node.classList.contains('pause')));
    await page.locator('#container').focus();
    await page.keyboard.press(' ');
    assert.equal(await paused(), true, 'space pauses while the player has focus');

    // Click at three quarters of the bar: the video seeks to three quarters of its length.
    const bar = await page.locator('#total').boundingBox();
    await page.mouse.click(bar.x + bar.width * 0.75, bar.y + bar.height / 2);
    await page.waitForFunction(() => {
        const v = document.getElementById('video');
        return !v.seeking && Math.abs(v.currentTime - 7.5) < 0.3;
    });
    await page.waitForFunction(() => document.getElementById('current_time_display').textContent === '00:07');
    assert.equal(await page.locator('#duration_display').textContent(), '00:10');
    // The bars are scaled across the track: scaleX(0.75) is three quarters.
    const part = (id) => page.locator(id).evaluate((node) => 100 * Number(/scaleX\(([\d.]+)\)/.exec(node.style.transform)[1]));
    const played = await part('#current');
    assert.ok(Math.abs(played - 75) < 3, `played part ${played}%`);
    const buffered = await part('#buffered');
    assert.ok(buffered >= played, `buffered part ${buffered}% covers the played part`);
    await screenshot(page, 'controls-seeked');

    // OS_VOLUME 0.50 lights three of the six steps.
    assert.equal(await video(page, () => document.getElementById('video').volume), 0.5);
    const lit = () => page.locator('#volume_display li.on').count();
    assert.equal(await lit(), 3);
    await page.locator('#volume_display li').nth(5).click();
    assert.equal(await video(page, () => document.getElementById('video').volume), 1);
    assert.equal(await lit(), 6);
    await page.locator('#volume_display li').nth(1).click();
    assert.ok(Math.abs((await video(page, () => document.getElementById('video').volume)) - 2 / 6) < 1e-6);
    assert.equal(await lit(), 2);

    assert.equal(await page.locator('#muteON').isVisible(), true);
    assert.equal(await page.locator('#muteOFF').isVisible(), false);
    await page.click('#muteON');
    assert.equal(await video(page, () => document.getElementById('video').muted), true);
    assert.equal(await page.locator('#muteOFF').isVisible(), true);
    assert.equal(await lit(), 0);
    await page.click('#muteOFF');
    assert.equal(await video(page, () => document.getElementById('video').muted), false);
    assert.equal(await page.locator('#muteON').isVisible(), true);

    await page.click('#restartBT');
    await page.waitForFunction(() => {
        const v = document.getElementById('video');
        return !v.paused && v.currentTime < 2;
    });
    assert.deepEqual(problems, []);
    await context.close();
});

test('full screen switches on, and is refused when locked', async () => {
    const free = await servedCase('fullscreen-free');
    let { page, context } = await openPlayer(run.browser, free);
    await page.click('#full_screen');
    await page.waitForFunction(() => document.fullscreenElement !== null);
    await context.close();

    const locked = await servedCase('fullscreen-locked', { flags: ['--lock-fullscreen'] });
    ({ page, context } = await openPlayer(run.browser, locked));
    assert.equal(await page.evaluate(() => window.OS_BLOCK_FULL_SCREEN), 1);
    // A viewer can still click the greyed switch; nothing may come of it.
    await page.click('#full_screen', { force: true });
    await holdAt(page, 1);
    assert.equal(await page.evaluate(() => document.fullscreenElement), null);
    assert.equal(await page.locator('#full_screen').getAttribute('aria-disabled'), 'true');
    await screenshot(page, 'controls-fullscreen-locked');
    await context.close();
});

test('the panel is hidden when control_bar is 0 and compact in a narrow player', async () => {
    const hidden = await servedCase('controls-hidden', { settings: [['CONTROLS', 0]] });
    let { page, context } = await openPlayer(run.browser, hidden);
    assert.equal(await page.locator('#controls').isVisible(), false);
    await context.close();

    // WINDOW item 1 is 320 x 240: narrower than 550, so the configuration sets OS_CONTROL.
    const narrow = await servedCase('controls-compact', { settings: [['WINDOW', 1]] });
    ({ page, context } = await openPlayer(run.browser, narrow));
    assert.equal(await page.evaluate(() => window.OS_CONTROL), 1);
    const panel = page.locator('#controls');
    assert.ok(await panel.evaluate((node) => node.classList.contains('compact')));
    const box = await panel.boundingBox();
    assert.deepEqual([box.x, box.width, box.y + box.height], [0, 320, 240], 'along the bottom of the player');
    await holdAt(page, 1);
    await screenshot(page, 'controls-compact');
    await context.close();
});
