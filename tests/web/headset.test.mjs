// Headsets, through a scripted stand-in for navigator.xr (Chromium has no
// emulated headset): "Enter VR" appears where immersive VR is offered, the
// session draws the video all round with the page's view straight ahead, a hot
// spot stands there and a controller's select follows it; taking the headset
// off gives the page back. The stand-in renders into the page's own canvas with
// one eye looking along -z, so its pixels can be read like the page's.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { holdAt, launch, openPage, openPlayer, publishCase, screenshot, serve } from './lib/harness.mjs';
import { canvasColours, nameColour, sectorOf } from './lib/pixels.mjs';

let server;
let browser;

before(async () => {
    const dir = await publishCase('headset', {
        hotSpots: [{ slot: 1, yaw: 60, pos: 0.2, time: 9, title: 'Gate', link: 'gate.html', self: true }],
    });
    writeFileSync(join(dir, 'gate.html'), '<!DOCTYPE html><title>gate</title><p>gate</p>');
    server = await serve(dir);
    browser = await launch();
});

after(async () => {
    await browser?.close();
    await server?.stop();
});

function standIn() {
    const log = (window.__xr = { requested: [], spaces: [], frames: 0, session: null });
    const identity = () => new Float32Array([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]);
    // One eye with a 90 degree vertical field of view at the canvas's aspect.
    const projection = (aspect) => {
        const near = 0.1;
        const far = 2000;
        return new Float32Array([1 / aspect, 0, 0, 0, 0, 1, 0, 0, 0, 0, (far + near) / (near - far), -1, 0, 0, (2 * far * near) / (near - far), 0]);
    };
    let layer = null;
    window.XRWebGLBinding = undefined;
    window.XRWebGLLayer = class {
        constructor(session, gl) {
            this.framebuffer = null;
            this.framebufferWidth = gl.drawingBufferWidth;
            this.framebufferHeight = gl.drawingBufferHeight;
            this.ignoreDepthValues = false;
            layer = this;
        }
        getViewport() {
            return { x: 0, y: 0, width: this.framebufferWidth, height: this.framebufferHeight };
        }
    };
    for (const Context of [window.WebGL2RenderingContext, window.WebGLRenderingContext]) {
        Context.prototype.makeXRCompatible = async () => {};
    }
    const pose = () => ({ transform: { matrix: identity() } });
    class Session extends EventTarget {
        constructor() {
            super();
            this.renderState = {};
            this.inputSources = [];
            this.environmentBlendMode = 'opaque';
        }
        updateRenderState(state) {
            Object.assign(this.renderState, state);
        }
        async requestReferenceSpace(type) {
            log.spaces.push(type);
            return {};
        }
        frame() {
            const aspect = layer ? layer.framebufferWidth / layer.framebufferHeight : 1;
            return {
                session: this,
                getViewerPose: () => ({ ...pose(), views: [{ eye: 'none', ...pose(), projectionMatrix: projection(aspect) }] }),
                getPose: () => pose(),
            };
        }
        requestAnimationFrame(callback) {
            return setTimeout(() => {
                ++log.frames;
                callback(performance.now(), this.frame());
            }, 100);
        }
        cancelAnimationFrame(id) {
            clearTimeout(id);
        }
        async end() {
            // Kept where a followed link's page can still read it.
            sessionStorage.xrEnded = Number(sessionStorage.xrEnded ?? 0) + 1;
            this.dispatchEvent(new Event('end'));
        }
        // A controller held straight ahead presses its trigger.
        select() {
            const source = { handedness: 'right', targetRayMode: 'tracked-pointer', targetRaySpace: {}, gripSpace: null, hand: null, profiles: [] };
            this.inputSources = [source];
            this.dispatchEvent(Object.assign(new Event('inputsourceschange'), { added: [source], removed: [] }));
            this.dispatchEvent(Object.assign(new Event('select'), { inputSource: source, frame: this.frame() }));
        }
    }
    Object.defineProperty(navigator, 'xr', {
        configurable: true,
        value: {
            isSessionSupported: async (mode) => mode === 'immersive-vr',
            requestSession: async (mode) => {
                log.requested.push(mode);
                log.session = new Session();
                return log.session;
            },
        },
    });
}

const framesAfter = (page, count) =>
    page.waitForFunction((n) => window.__xr.frames >= n, count, { timeout: 30000 });

test('Enter VR shows the video round the viewer; the hot spot ahead is followed with a select', async () => {
    const { page, context, problems } = await openPlayer(browser, server, { init: [standIn] });
    const enter = page.getByRole('button', { name: 'Enter VR' });
    await enter.waitFor();
    // A still picture inside the hot spot's time window.
    await holdAt(page, 3);
    await screenshot(page, 'headset-button');
    // Look at the hot spot's direction, then put the headset on.
    await page.evaluate(() => window.__quillmarkPlayer.view.lookTo(60, 0));
    await enter.click();
    await framesAfter(page, 5);
    assert.deepEqual(await page.evaluate(() => ({ requested: window.__xr.requested, spaces: window.__xr.spaces })), {
        requested: ['immersive-vr'],
        spaces: ['local'],
    });
    // Straight ahead (above the marker) the sector of lon 60; 60 degrees to the
    // left, at the canvas's edge for a 90 degree eye, the sector of lon 0 is near.
    const [ahead, left] = (await canvasColours(page, [[0.5, 0.3], [0.2, 0.4]])).map((rgb) => nameColour(rgb));
    assert.deepEqual([ahead, left], [sectorOf(60), sectorOf(30)]);
    const [marker] = await canvasColours(page, [[0.5, 0.5]]);
    assert.notEqual(nameColour(marker), sectorOf(60), 'the hot spot stands straight ahead');
    await screenshot(page, 'headset-session');

    // Headset off: the page draws its own view again at its own size.
    const drawsBefore = await page.evaluate(() => window.__qmDrawTimes.length);
    await page.evaluate(() => window.__xr.session.end());
    await page.waitForFunction((n) => window.__qmDrawTimes.length > n, drawsBefore);
    assert.equal(await page.evaluate(() => document.querySelector('#container canvas').width), 550);

    // Frames of this second session, not the first one's.
    const framesBefore = await page.evaluate(() => window.__xr.frames);
    await enter.click();
    await framesAfter(page, framesBefore + 5);
    await Promise.all([page.waitForURL(`${server.base}gate.html`), page.evaluate(() => window.__xr.session.select())]);
    assert.equal(await page.evaluate(() => sessionStorage.xrEnded), '2', 'the session ended before the link was followed');
    assert.deepEqual(problems, []);
    await context.close();
});

test('without immersive VR, or without WebGL, there is no Enter VR button', async () => {
    const noHeadset = () =>
        Object.defineProperty(navigator, 'xr', { configurable: true, value: { isSessionSupported: async () => false } });
    const { page, context } = await openPlayer(browser, server, { init: [noHeadset] });
    await page.waitForTimeout(500);
    assert.equal(await page.locator('#qm-vr').isVisible(), false);
    await context.close();

    // A headset that answers only after the page has found no WebGL and gone flat.
    const lateHeadset = () => {
        const supported = navigator.xr.isSessionSupported;
        navigator.xr.isSessionSupported = (mode) => new Promise((done) => {
            const answer = () => {
                if (!document.getElementById('qm-no-webgl')) return setTimeout(answer, 50);
                window.__xr.answered = true;
                done(supported(mode));
            };
            answer();
        });
    };
    const noWebGl = await launch({ args: ['--disable-webgl', '--disable-webgl2'] });
    try {
        const flat = await openPage(noWebGl, server, { init: [standIn, lateHeadset] });
        await flat.page.waitForFunction(() => window.__xr.answered, null, { timeout: 20000 });
        await flat.page.waitForTimeout(300);
        assert.equal(await flat.page.locator('#qm-vr').isVisible(), false);
    } finally {
        await noWebGl.close();
    }
});
