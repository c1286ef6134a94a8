// The finish of the player page: the title panel fades by itself or at the first
// key, every control is reached with Tab under a name and works from the keys,
// and the captions of two close hot spots never cover each other.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { dismissTitle, holdAt, launch, openPlayer, publishCase, screenshot, serve, viewState } from './lib/harness.mjs';

let server;
let browser;

before(async () => {
    const dir = await publishCase('polish', {
        hotSpots: [
            { slot: 1, yaw: 0, pos: 1, time: 8, title: 'Harbour master office', link: 'a.html' },
            { slot: 2, yaw: 25, pos: 1, time: 8, title: 'Lighthouse viewpoint', link: 'b.html' },
        ],
    });
    server = await serve(dir);
    browser = await launch();
});

after(async () => {
    await browser?.close();
    await server?.stop();
});

test('the title panel fades a few seconds after the first picture, or at the first key', async () => {
    const { page, context } = await openPlayer(browser, server);
    const title = page.locator('#titlePN');
    await page.waitForTimeout(1000);
    assert.equal(await title.isVisible(), true, 'shown at first');
    await title.waitFor({ state: 'hidden', timeout: 15000 });
    await context.close();

    const second = await openPlayer(browser, server);
    await second.page.keyboard.press('Shift');
    await second.page.locator('#titlePN').waitFor({ state: 'hidden', timeout: 2000 });
    await second.context.close();
});

test('Tab reaches every control under its name; the keys work them', async () => {
    const { page, context, problems } = await openPlayer(browser, server);
    await holdAt(page, 2);
    const order = [];
    for (let i = 0; i < 20; ++i) {
        await page.keyboard.press('Tab');
        const focused = await page.evaluate(() => {
            const element = document.activeElement;
            return element === document.body ? null : element.id;
        });
        if (!focused || order.includes(focused)) break;
        order.push(focused);
    }
    assert.deepEqual(order, ['container', 'ab', 'leftBT', 'upBT', 'stopBT', 'downBT', 'rightBT', 'zoominBT', 'zoomoutBT',
        'restartBT', 'muteON', 'hs1', 'hs2', 'play', 'progress', 'volume', 'full_screen']);
    const named = [['link', 'About'], ['button', 'Panning Left'], ['button', 'Stop Panning'], ['button', 'Zoom In'],
        ['button', 'Restart video'], ['button', 'mute On'], ['link', 'Lighthouse viewpoint'], ['button', 'Play/Pause'],
        ['slider', 'Position'], ['slider', 'Volume'], ['button', 'Full Sreen On/Off']];
    for (const [role, name] of named) {
        assert.equal(await page.getByRole(role, { name, exact: true }).count(), 1, `${role} "${name}"`);
    }

    const press = async (id, key) => {
        await page.locator(`#${id}`).focus();
        await page.keyboard.press(key);
    };
    const video = () => page.evaluate(() => {
        const element = document.getElementById('video');
        return { muted: element.muted, volume: element.volume, time: element.currentTime };
    });
    await press('zoominBT', 'Enter');
    assert.equal((await viewState(page)).fov, 110);
    await press('muteON', 'Enter');
    assert.equal((await video()).muted, true);
    await press('muteOFF', ' ');
    assert.equal((await video()).muted, false);
    await press('volume', 'ArrowLeft');
    assert.ok(Math.abs((await video()).volume - 2 / 6) < 1e-6, 'one volume step down from 3 of 6');
    await press('progress', 'ArrowRight');
    assert.ok(Math.abs((await video()).time - 7) < 0.1, 'five seconds on');
    assert.equal(await page.locator('#progress').getAttribute('aria-valuetext'), '00:07 / 00:10');
    assert.deepEqual(problems, []);
    await context.close();
});

test('captions of hot spots 25 degrees apart do not cover each other', async () => {
    const { page, context } = await openPlayer(browser, server);
    await dismissTitle(page);
    await holdAt(page, 3);
    const boxes = await page.locator('.qm-caption').evaluateAll((nodes) =>
        nodes.filter((node) => node.style.visibility === 'visible').map((node) => node.getBoundingClientRect().toJSON()),
    );
    assert.equal(boxes.length, 2, 'both captions shown');
    const [a, b] = boxes;
    const apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    assert.ok(apart, `captions overlap: ${JSON.stringify(boxes)}`);
    await screenshot(page, 'polish-captions');
    await context.close();
});
