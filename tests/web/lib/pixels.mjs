// Reads colours off the player's canvas and names them by the demo clip's layout.
import { sectors } from './harness.mjs';

// Pixels of the canvas at fractions of its size, as [r, g, b].
export async function canvasColours(page, points) {
    return pngColours(page, await page.locator('#container canvas').screenshot(), points);
}

// Pixels of a PNG at fractions of its size. The browser decodes the picture, so
// no image library is needed here.
export async function pngColours(page, png, points) {
    return page.evaluate(
        async ({ data, points: wanted }) => {
            const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
            const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
            const surface = new OffscreenCanvas(bitmap.width, bitmap.height);
            const context = surface.getContext('2d');
            context.drawImage(bitmap, 0, 0);
            return wanted.map(([fx, fy]) => {
                const x = Math.min(bitmap.width - 1, Math.round(fx * (bitmap.width - 1)));
                const y = Math.min(bitmap.height - 1, Math.round(fy * (bitmap.height - 1)));
                return [...context.getImageData(x, y, 1, 1).data.slice(0, 3)];
            });
        },
        { data: png.toString('base64'), points },
    );
}

function distance(a, b) {
    return Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The yaw sector (a number), 'sky' or 'floor' whose colour a pixel shows, or
// null when it matches none of them closely.
export function nameColour(rgb, tolerance = 50) {
    const layout = sectors();
    const candidates = [
        ...layout.sectors.map((sector) => ({ name: sector.yaw, rgb: sector.rgb })),
        { name: 'sky', rgb: layout.normal.sky.rgb },
        { name: 'floor', rgb: layout.normal.floor.rgb },
    ];
    let best = null;
    for (const candidate of candidates) {
        const d = distance(rgb, candidate.rgb);
        if (!best || d < best.d) best = { name: candidate.name, d };
    }
    return best && best.d <= tolerance ? best.name : null;
}

export function near(rgb, expected, tolerance = 40) {
    return distance(rgb, expected) <= tolerance;
}

export function hexRgb(hex) {
    const value = Number.parseInt(hex.replace('#', ''), 16);
    return [(value >> 16) & 255, (value >> 8) & 255, value & 255];
}

// The sector a direction (degrees, the clip's yaw frame) falls into.
export function sectorOf(yaw) {
    const wrapped = ((((yaw + 15) % 360) + 360) % 360) - 15;
    const index = Math.round(wrapped / 30);
    const centre = index * 30;
    return centre > 180 ? centre - 360 : centre;
}

// Screen fractions of a direction (yaw offset and lat from the view centre) for a
// camera at lat 0 with vertical field of view fov on a canvas of the given aspect.
export function screenPoint(yawOffset, lat, fov, aspect) {
    const t = Math.tan(((fov / 2) * Math.PI) / 180);
    const x = Math.tan((yawOffset * Math.PI) / 180);
    const y = Math.tan((lat * Math.PI) / 180) * Math.sqrt(1 + x * x);
    return [0.5 + x / (2 * t * aspect), 0.5 - y / (2 * t)];
}

// The colour names seen in given directions relative to the view centre
// ([yawOffset, lat] pairs, degrees) for the player's current field of view.
export async function namesAt(page, directions, colours = canvasColours) {
    const { fov, aspect } = await page.evaluate(() => {
        const canvas = document.querySelector('#container canvas');
        return { fov: window.__quillmarkPlayer.view.fov, aspect: canvas.clientWidth / canvas.clientHeight };
    });
    const points = directions.map(([yawOffset, lat]) => screenPoint(yawOffset, lat, fov, aspect));
    return (await colours(page, points)).map((rgb) => nameColour(rgb));
}
