// Hot spots: shown only inside their time window, over the direction their yaw
// names, hidden behind the viewer, with check_hs beside them; reachable by Tab
// with their caption as name; a click follows the link in this window or a new one.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { dismissTitle, holdAt, launch, openPlayer, publishCase, screenshot, serve, settle } from './lib/harness.mjs';
import { screenPoint } from './lib/pixels.mjs';

const HOT_SPOTS = [
    // Text Windows-1251 cannot hold travels exactly through the project file to the player.
    { slot: 1, yaw: 40, pos: 2, time: 3, title: 'Entrée du musée', link: 'musée.html', self: true },
    { slot: 2, yaw: -40, pos: 2, time: 3, title: 'West door', link: 'other.html', self: false },
    { slot: 4, yaw: 180, pos: 2, time: 3, title: 'Behind', link: 'behind.html', self: false },
];
let server;
let browser;

before(async () => {
    const dir = await publishCase('hotspots', { hotSpots: HOT_SPOTS });
    for (const name of ['musée.html', 'other.html', 'behind.html']) {
        writeFileSync(join(dir, name), `<!DOCTYPE html><title>${name}</title><p>${name}</p>`);
    }
    server = await serve(dir);
    browser = await launch();
});

after(async () => {
    await browser?.close();
    await server?.stop();
});

async function openAt(seconds) {
    const player = await openPlayer(browser, server);
    await dismissTitle(player.page);
    await holdAt(player.page, seconds);
    return player;
}

async function centreOf(page, selector) {
    const box = await page.locator(selector).boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

test('hot spots appear only within [pos, pos + time)', async () => {
    const { page, context, problems } = await openAt(1);
    for (const id of ['#hs1', '#hs2', '#hs4', '#check_hs']) {
        assert.equal(await page.locator(id).isVisible(), false, `${id} before its time`);
    }
    await holdAt(page, 3);
    assert.equal(await page.locator('#hs1').isVisible(), true);
    assert.equal(await page.locator('#hs2').isVisible(), true);
    assert.equal(await page.locator('#check_hs').isVisible(), true, 'check_hs goes with a shown hot spot');
    await screenshot(page, 'hotspots-shown');
    await holdAt(page, 5.2);
    for (const id of ['#hs1', '#hs2', '#check_hs']) {
        assert.equal(await page.locator(id).isVisible(), false, `${id} after its time`);
    }
    // Gone from the screen, gone from the keyboard's and the screen reader's way.
    assert.equal(await page.getByRole('link', { name: 'Entrée du musée' }).count(), 0);
    assert.equal(await page.locator('#hs1').getAttribute('tabindex'), '-1');
    await screenshot(page, 'hotspots-expired');
    assert.deepEqual(problems, []);
    await context.close();
});

test('hot spots stand over their yaw on the horizon and move with the view', async () => {
    const { page, context } = await openAt(3);
    const canvas = await page.locator('#container canvas').boundingBox();
    const aspect = canvas.width / canvas.height;
    for (const [id, yaw] of [['#hs1', 40], ['#hs2', -40]]) {
        const [fx, fy] = screenPoint(yaw, 0, 120, aspect);
        const centre = await centreOf(page, id);
        assert.ok(Math.abs(centre.x - (canvas.x + fx * canvas.width)) <= 2, `${id} x ${centre.x}`);
        assert.ok(Math.abs(centre.y - (canvas.y + fy * canvas.height)) <= 2, `${id} y ${centre.y}`);
    }
    const captions = await page.locator('.qm-caption').evaluateAll((nodes) =>
        nodes.filter((node) => node.style.visibility === 'visible').map((node) => node.textContent),
    );
    assert.deepEqual(captions.sort(), ['Entrée du musée', 'West door']);
    assert.equal(await page.locator('#hs4').isVisible(), false, 'the hot spot behind the viewer is hidden');

    // Turning round brings the one behind into view and the other two out of it.
    await page.evaluate(() => window.__quillmarkPlayer.view.lookTo(180, 0));
    await settle(page);
    assert.equal(await page.locator('#hs4').isVisible(), true);
    assert.equal(await page.locator('#hs1').isVisible(), false);
    const behind = await centreOf(page, '#hs4');
    assert.ok(Math.abs(behind.x - (canvas.x + canvas.width / 2)) <= 2, 'yaw 180 lies straight ahead at lon 180');
    await screenshot(page, 'hotspots-turned');
    await context.close();
});

test('a hot spot without self opens its link in a new window', async () => {
    const { page, context } = await openAt(3);
    const popupOpened = context.waitForEvent('page');
    const at = await centreOf(page, '#hs2');
    await page.mouse.click(at.x, at.y);
    const popup = await popupOpened;
    await popup.waitForLoadState();
    assert.equal(popup.url(), `${server.base}other.html`);
    assert.match(page.url(), /tv360_player\.html$/, 'the player stays');
    await screenshot(popup, 'hotspots-new-window');
    await context.close();
});

test('hot spots are reached with Tab, named by their caption, followed with Enter', async () => {
    const { page, context } = await openAt(3);
    const link = page.getByRole('link', { name: 'Entrée du musée' });
    assert.equal(await link.count(), 1);
    // The hot spots follow the mute button in the page.
    await page.locator('#muteON').focus();
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'hs1');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'West door');
    await page.keyboard.press('Shift+Tab');
    await Promise.all([page.waitForURL(`${server.base}mus%C3%A9e.html`), page.keyboard.press('Enter')]);
    await context.close();
});

test('a hot spot with self leads this window to its link', async () => {
    const { page, context } = await openAt(3);
    const at = await centreOf(page, '#hs1');
    await Promise.all([page.waitForURL(`${server.base}mus%C3%A9e.html`), page.mouse.click(at.x, at.y)]);
    assert.equal(context.pages().length, 1, 'no new window');
    await screenshot(page, 'hotspots-same-window');
    await context.close();
});
