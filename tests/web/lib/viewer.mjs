// Helpers of the viewer tests that run in every engine (tools/web/engines.mjs): page
// scripts, screenshots and trusted mouse input, which all three drivers
// offer. Not every driver can run a script before the page's own, so the package
// gets a small probe script, loaded first by the player page, that counts the
// WebGL draws and records uncaught errors.
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { waitFor } from '../../../tools/web/engines.mjs';
import { countDraws, paths, publishCase } from './harness.mjs';
import { pngColours } from './pixels.mjs';

function recordErrors() {
    window.__qmErrors = [];
    window.addEventListener('error', (event) => window.__qmErrors.push(String(event.message)));
    window.addEventListener('unhandledrejection', (event) => window.__qmErrors.push(`unhandled: ${event.reason}`));
}

export async function publishProbed(name, options) {
    const dir = await publishCase(name, options);
    writeFileSync(join(dir, 'qm-probe.js'), `(${countDraws})();\n(${recordErrors})();\n`);
    const player = join(dir, 'tv360_player.html');
    const html = readFileSync(player, 'latin1');
    writeFileSync(player, html.replace('<head>', '<head>\n<script src="qm-probe.js"></script>'), 'latin1');
    return dir;
}

// Opens the player page and waits until it has drawn the video (or, `flat`,
// until the video shows a frame without WebGL).
export async function openViewer(engine, server, { viewport = { width: 800, height: 600 }, flat = false } = {}) {
    const tab = await engine.open(`${server.base}tv360_player.html`, viewport);
    await waitFor(
        tab,
        (flatView) =>
            window.__quillmarkPlayer &&
            document.getElementById('video').readyState >= 2 &&
            (flatView || window.__qmDrawTimes.length > 0),
        flat,
        { timeout: 60000, what: 'the first frame' },
    );
    return tab;
}

// An element's box in the viewport while it is shown there, else null.
export function shownBox(tab, selector) {
    return tab.evaluate((wanted) => {
        const node = document.querySelector(wanted);
        if (!node || node.hidden) return null;
        const style = getComputedStyle(node);
        const box = node.getBoundingClientRect();
        const outside = box.right <= 0 || box.bottom <= 0 || box.left >= innerWidth || box.top >= innerHeight;
        if (style.visibility === 'hidden' || style.display === 'none' || box.width === 0 || outside) return null;
        return { x: box.x, y: box.y, width: box.width, height: box.height };
    }, selector);
}

export const centreOf = (box) => ({ x: box.x + box.width / 2, y: box.y + box.height / 2 });

// Pixels of the player's canvas at fractions of its size, read off a screenshot
// of the whole page (not every driver takes one of a single element).
export async function canvasColours(tab, points) {
    const box = await shownBox(tab, '#container canvas');
    const page = await tab.evaluate(() => [innerWidth, innerHeight]);
    const inPage = points.map(([fx, fy]) => [(box.x + fx * box.width) / page[0], (box.y + fy * box.height) / page[1]]);
    return pngColours(tab, await tab.screenshot(), inPage);
}

export async function saveScreenshot(tab, engine, name) {
    mkdirSync(paths.screenshots(), { recursive: true });
    writeFileSync(join(paths.screenshots(), `${engine.name}-${name}.png`), await tab.screenshot());
}
