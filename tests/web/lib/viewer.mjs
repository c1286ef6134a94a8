// Helpers of the viewer tests that run in every engine (engines.mjs): only page
// scripts, screenshots and trusted mouse and key input, which all three drivers
// offer. Not every driver can run a script before the page's own, so the package
// gets a small probe script, loaded first by the player page, that counts the
// WebGL draws and records uncaught errors.
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { waitFor } from '../../../tools/web/engines.mjs';
import { countDraws, paths, publishCase } from './harness.mjs';
import { nameColour, screenPoint } from './pixels.mjs';

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

// Colours of viewport points ([x, y] in CSS pixels) in a screenshot, decoded by
// the page itself so that no image library is needed.
export async function coloursAt(tab, points) {
    const png = await tab.screenshot();
    return tab.evaluate(
        async (data, wanted) => {
            const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
            const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
            const canvas = document.createElement('canvas');
            [canvas.width, canvas.height] = [bitmap.width, bitmap.height];
            const context = canvas.getContext('2d', { willReadFrequently: true });
            context.drawImage(bitmap, 0, 0);
            const scale = bitmap.width / innerWidth;
            return wanted.map(([x, y]) => {
                const px = Math.min(bitmap.width - 1, Math.round(x * scale));
                const py = Math.min(bitmap.height - 1, Math.round(y * scale));
                return [...context.getImageData(px, py, 1, 1).data.slice(0, 3)];
            });
        },
        png.toString('base64'),
        points,
    );
}

// The demo clip's colour names seen in directions ([yaw offset, lat] from the
// view's centre).
export async function namesAt(tab, directions) {
    const { fov, box } = await tab.evaluate(() => {
        const rect = document.querySelector('#container canvas').getBoundingClientRect();
        return { fov: window.__quillmarkPlayer.view.fov, box: { x: rect.x, y: rect.y, width: rect.width, height: rect.height } };
    });
    const points = directions.map(([yaw, lat]) => {
        const [fx, fy] = screenPoint(yaw, lat, fov, box.width / box.height);
        return [box.x + fx * box.width, box.y + fy * box.height];
    });
    return (await coloursAt(tab, points)).map((rgb) => nameColour(rgb));
}

export async function saveScreenshot(tab, engine, name) {
    mkdirSync(paths.screenshots(), { recursive: true });
    writeFileSync(join(paths.screenshots(), `${engine.name}-${name}.png`), await tab.screenshot());
}
