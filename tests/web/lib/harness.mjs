// Shared set-up of the browser tests: projects made and published with the
// quillmark command line, served on 127.0.0.1 by `quillmark serve`, opened in
// Debian's Chromium driven by playwright-core.
import { execFile, spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { delimiter, join, resolve } from 'node:path';
import { promisify } from 'node:util';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';

import { CHROMIUM_FLAGS, freePort } from '../../../tools/web/engines.mjs';

const run = promisify(execFile);

function required(name) {
    const value = process.env[name];
    if (!value) throw new Error(`${name} is not set: run the browser tests through ctest`);
    return value;
}

export const paths = {
    quillmark: () => required('QM_QUILLMARK'),
    clipDir: () => required('QM_WEB_CLIP_DIR'),
    screenshots: () => required('QM_WEB_SCREENSHOTS'),
    sourceDir: () => required('QM_SOURCE_DIR'),
};

// The browser CMake found (ctest passes it), else the first chromium on PATH.
function chromiumPath() {
    if (process.env.QM_CHROMIUM) return process.env.QM_CHROMIUM;
    for (const folder of (process.env.PATH ?? '').split(delimiter)) {
        const candidate = join(folder, 'chromium');
        if (folder && existsSync(candidate)) return candidate;
    }
    throw new Error('no chromium on PATH: scripts/setup.sh installs it');
}

export function demoClip(name = 'demo.mp4') {
    const clip = join(paths.clipDir(), name);
    if (!existsSync(clip)) throw new Error(`the demo clip ${clip} is missing: build the qm_web_test_clips target`);
    return clip;
}

export function sectors() {
    return JSON.parse(readFileSync(join(paths.sourceDir(), 'tools/demo/sectors.json'), 'utf8'));
}

export async function quillmark(...args) {
    try {
        return await run(paths.quillmark(), args, { timeout: 120000 });
    } catch (error) {
        throw new Error(`quillmark ${args.join(' ')} failed (${error.code}): ${error.stderr || error.message}`);
    }
}

export function workDir(prefix) {
    const base = join(tmpdir(), 'qm-web-tests');
    mkdirSync(base, { recursive: true });
    return mkdtempSync(join(base, `${prefix}-`));
}

// Makes a project for the clip, applies the option settings ([TAG, VALUE] pairs)
// and hot spots, and publishes it; returns the package folder.
export async function publishCase(name, { clip = demoClip(), settings = [], hotSpots = [], flags = [] } = {}) {
    const dir = workDir(name);
    const project = join(dir, `${name}.pp5`);
    await quillmark('new', project, clip);
    for (const [tag, value] of settings) await quillmark('set', project, tag, String(value));
    for (const spot of hotSpots) {
        const args = ['hotspot', project, String(spot.slot), '--yaw', String(spot.yaw), '--pos', String(spot.pos)];
        args.push('--time', String(spot.time), '--title', spot.title, '--link', spot.link);
        if (spot.self) args.push('--self');
        await quillmark(...args);
    }
    const out = join(dir, 'package');
    await quillmark('publish', project, join(out, 'index.html'), ...flags);
    return out;
}


async function waitForServer(url, child) {
    for (let attempt = 0; attempt < 200; ++attempt) {
        if (child.exitCode !== null) throw new Error(`quillmark serve ended early with ${child.exitCode}`);
        try {
            const response = await fetch(url);
            if (response.ok) return;
        } catch {
            // not listening yet
        }
        await new Promise((r) => setTimeout(r, 100));
    }
    throw new Error(`quillmark serve did not answer at ${url}`);
}

export async function serve(dir) {
    const port = await freePort();
    const child = spawn(paths.quillmark(), ['serve', dir, '--port', String(port)], { stdio: ['ignore', 'ignore', 'pipe'] });
    let stderr = '';
    child.stderr.on('data', (chunk) => (stderr += chunk));
    const base = `http://127.0.0.1:${port}/`;
    try {
        await waitForServer(`${base}tv360_player.html`, child);
    } catch (error) {
        child.kill();
        throw new Error(`${error.message}\n${stderr}`);
    }
    return {
        base,
        stop: () =>
            new Promise((done) => {
                if (child.exitCode !== null) return done();
                child.once('exit', done);
                child.kill();
            }),
    };
}

export async function launch({ autoplay = 'no-user-gesture-required', args = [] } = {}) {
    return chromium.launch({
        executablePath: chromiumPath(),
        headless: true,
        args: [...CHROMIUM_FLAGS, `--autoplay-policy=${autoplay}`, ...args],
    });
}

// Counts the WebGL draw calls of the page with their times, before any page script runs.
export function countDraws() {
    const calls = [];
    window.__qmDrawTimes = calls;
    for (const Context of [window.WebGL2RenderingContext, window.WebGLRenderingContext]) {
        if (!Context) continue;
        for (const name of ['drawElements', 'drawArrays']) {
            const original = Context.prototype[name];
            Context.prototype[name] = function (...args) {
                calls.push(performance.now());
                return original.apply(this, args);
            };
        }
    }
}

// Opens a page of a served package in a new context; `touch` makes it a touch
// screen, `init` scripts run before the page's own (stand-ins for device APIs).
export async function openPage(browser, server, { viewport = { width: 800, height: 600 }, page: pageName = 'tv360_player.html', touch = false, init = [] } = {}) {
    const context = await browser.newContext({ viewport, hasTouch: touch });
    const page = await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
    page.on('console', (message) => {
        if (message.type() !== 'error') return;
        // The browser asks every site for an icon; the package has none.
        if (message.location()?.url?.endsWith('/favicon.ico')) return;
        problems.push(`console error: ${message.text()} ${message.location()?.url ?? ''}`);
    });
    await page.addInitScript(countDraws);
    for (const script of init) await page.addInitScript(script);
    await page.goto(server.base + pageName);
    return { page, context, problems };
}

// Waits until the player in a page or frame has drawn its video.
export async function playerDrawn(frame) {
    await frame.waitForFunction(
        () => window.__quillmarkPlayer && document.getElementById('video').readyState >= 2 && window.__qmDrawTimes.length > 0,
        null,
        { timeout: 60000 },
    );
}

// Opens the player page of a served package and waits until the video is drawn.
export async function openPlayer(browser, server, options = {}) {
    const opened = await openPage(browser, server, options);
    await playerDrawn(opened.page);
    return opened;
}

// Pauses the video at a moment and waits until that frame is on the canvas.
export async function holdAt(page, seconds) {
    await page.evaluate(async (time) => {
        const video = document.getElementById('video');
        video.pause();
        if (Math.abs(video.currentTime - time) > 0.01) {
            await new Promise((done) => {
                video.addEventListener('seeked', done, { once: true });
                video.currentTime = time;
            });
        }
    }, seconds);
    await settle(page);
}

// Waits until the player has drawn everything that is pending.
export async function settle(page) {
    await page.evaluate(
        () =>
            new Promise((done) => {
                let quiet = 0;
                let seen = window.__qmDrawTimes.length;
                // A draw held back by the frame-rate cap is still to come.
                const scheduler = window.__quillmarkPlayer?.scheduler;
                const check = () => {
                    const now = window.__qmDrawTimes.length;
                    const held = scheduler && (scheduler.waiting || scheduler.pending);
                    quiet = now === seen && !held ? quiet + 1 : 0;
                    seen = now;
                    if (quiet >= 3) done();
                    else setTimeout(check, 150);
                };
                setTimeout(check, 150);
            }),
    );
}

export async function viewState(page) {
    return page.evaluate(() => {
        const view = window.__quillmarkPlayer.view;
        return { lon: view.lon, lat: view.lat, fov: view.fov };
    });
}

export async function screenshot(page, name) {
    mkdirSync(paths.screenshots(), { recursive: true });
    await page.screenshot({ path: resolve(paths.screenshots(), `${name}.png`) });
}

// Passes the mouse over the title panel, which puts it away as a viewer expects.
export async function dismissTitle(page) {
    const title = page.locator('#titlePN');
    const box = await title.boundingBox();
    if (!box) return;
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.move(1, 1);
    await title.waitFor({ state: 'hidden' });
}

// One browser for a test file and the cases it serves, all closed after the
// file's last test: `const run = browserForFile();`, then run.browser and
// await run.servedCase(name, options).
export function browserForFile() {
    const servers = [];
    const run = {
        browser: null,
        async servedCase(name, options) {
            const server = await serve(await publishCase(name, options));
            servers.push(server);
            return server;
        },
    };
    before(async () => {
        run.browser = await launch();
    });
    after(async () => {
        await run.browser?.close();
        for (const server of servers) await server.stop();
    });
    return run;
}
