// One small driver over the three browser engines a viewer may have, all from
// Debian packages: Chromium (puppeteer-core over CDP), Firefox ESR (puppeteer-core
// over WebDriver BiDi) and WebKitGTK, the engine of Safari (the W3C WebDriver of
// WebKitWebDriver driving MiniBrowser). Firefox and WebKitGTK need a display:
// the browser tests and the player benchmark run them under xvfb-run. Nothing
// here downloads a browser or a driver.
//
// An engine opens pages as tabs: evaluate(fn, ...args) runs fn in the page and
// awaits its promise; click(x, y) and drag(from, to) are trusted mouse input at
// viewport pixels; screenshot() gives a PNG of the viewport; close().
import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, rmSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

export const ENGINES = ['chromium', 'firefox', 'webkit'];

// The flags every Chromium here starts with; ANGLE's software renderer gives it
// WebGL without a GPU.
export const CHROMIUM_FLAGS = [
    '--no-sandbox',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--no-first-run',
    '--disable-quic',
    '--use-gl=angle',
    '--use-angle=swiftshader',
    '--enable-unsafe-swiftshader',
];

export async function freePort() {
    return new Promise((done, fail) => {
        const server = createServer();
        server.once('error', fail);
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => done(port));
        });
    });
}

// Polls a page function until it returns a true value, which it then returns.
export async function waitFor(tab, fn, arg, { timeout = 30000, what = 'the page' } = {}) {
    const end = Date.now() + timeout;
    for (;;) {
        const value = await tab.evaluate(fn, arg);
        if (value) return value;
        if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
        await new Promise((done) => setTimeout(done, 100));
    }
}

function findBrowser(variable, candidates) {
    const found = [process.env[variable], ...candidates].find((path) => path && existsSync(path));
    if (!found) throw new Error(`${variable}: none of ${candidates.join(', ')} exists: scripts/setup.sh installs it`);
    return found;
}

// MiniBrowser lies in the versioned library folder of libwebkit2gtk.
function miniBrowser() {
    const lib = '/usr/lib/x86_64-linux-gnu';
    const folders = existsSync(lib) ? readdirSync(lib).filter((name) => name.startsWith('webkit2gtk-')) : [];
    return findBrowser('QM_MINIBROWSER', folders.sort().reverse().map((name) => join(lib, name, 'MiniBrowser')));
}

// What an engine cannot do on this machine, by feature; the tests print the
// reason and check what they still can.
const LIMITS = {
    webkit: {
        touch: 'WebKitWebDriver offers no touch-screen emulation',
        phoneWidth: "MiniBrowser's window, toolbar and all, is no narrower than about 450 pixels",
    },
};

// Launches an engine. `autoplay`: 'muted' refuses autoplay with sound (the
// default of Safari and Firefox), 'allowed' lets it start with sound. `webgl`
// false turns WebGL off; `touch` makes the screen a touch screen where the
// engine can (Chromium does it per page, with the viewport's hasTouch).
export async function launchEngine(name, { autoplay = 'muted', webgl = true, touch = false } = {}) {
    const limits = LIMITS[name] ?? {};
    if (name === 'webkit') return { name, limits, ...(await launchWebKit({ autoplay, webgl })) };
    const profile = mkdtempSync(join(tmpdir(), `qm-${name}-`));
    const browser =
        name === 'firefox' ? await launchFirefox(profile, { autoplay, webgl, touch }) : await launchChromium(profile, { autoplay, webgl });
    return {
        name,
        limits,
        // The browser's own process; its page and drawing processes run below it.
        pid: browser.process().pid,
        open: async (url, viewport) => {
            const page = await browser.newPage();
            await page.setViewport(viewport);
            await page.goto(url);
            return puppeteerTab(page);
        },
        close: async () => {
            await browser.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

function launchChromium(profile, { autoplay, webgl }) {
    const args = [...CHROMIUM_FLAGS];
    args.push(`--autoplay-policy=${autoplay === 'muted' ? 'document-user-activation-required' : 'no-user-gesture-required'}`);
    if (!webgl) args.push('--disable-webgl', '--disable-webgl2');
    return puppeteer.launch({
        browser: 'chrome',
        executablePath: findBrowser('QM_CHROMIUM', ['/usr/bin/chromium']),
        headless: true,
        args,
        userDataDir: profile,
    });
}

function launchFirefox(profile, { autoplay, webgl, touch }) {
    return puppeteer.launch({
        browser: 'firefox',
        executablePath: findBrowser('QM_FIREFOX', ['/usr/bin/firefox-esr', '/usr/bin/firefox']),
        // Headless Firefox has no WebGL here; under Xvfb it draws with Mesa.
        headless: !process.env.DISPLAY,
        userDataDir: profile,
        extraPrefsFirefox: {
            // 1 blocks autoplay with sound, 0 allows it.
            'media.autoplay.default': autoplay === 'muted' ? 1 : 0,
            'media.autoplay.blocking_policy': 0,
            'webgl.disabled': !webgl,
            // A coarse pointer without hover, as on a phone, and touch events.
            ...(touch ? { 'ui.primaryPointerCapabilities': 1, 'ui.allPointerCapabilities': 1, 'dom.w3c_touch_events.enabled': 1 } : {}),
            // No notice and no animation over the page when it fills the screen.
            'full-screen-api.warning.timeout': 0,
            'full-screen-api.transition-duration.enter': '0 0',
            'full-screen-api.transition-duration.leave': '0 0',
        },
    });
}

function puppeteerTab(page) {
    return {
        evaluate: (fn, ...args) => page.evaluate(fn, ...args),
        click: (x, y) => page.mouse.click(x, y),
        drag: async (from, to) => {
            await page.mouse.move(from.x, from.y);
            await page.mouse.down();
            await page.mouse.move(to.x, to.y, { steps: 8 });
            await page.mouse.up();
        },
        screenshot: async () => Buffer.from(await page.screenshot({ type: 'png' })),
        close: () => page.close(),
    };
}

// ---- WebKitGTK through its W3C WebDriver -------------------------------------

async function launchWebKit({ autoplay, webgl }) {
    const port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: ['ignore', 'ignore', 'pipe'] });
    let log = '';
    driver.stderr.on('data', (chunk) => (log += chunk));
    const base = `http://127.0.0.1:${port}`;
    const call = async (method, path, body) => {
        const response = await fetch(base + path, {
            method,
            headers: { 'content-type': 'application/json' },
            body: body === undefined ? undefined : JSON.stringify(body),
        });
        const answer = await response.json();
        if (!response.ok) throw new Error(`WebKitWebDriver ${method} ${path}: ${answer.value?.message ?? response.status}`);
        return answer.value;
    };
    await waitForDriver(base, driver, () => log);
    const args = [
        '--automation',
        `--autoplay-policy=${autoplay === 'muted' ? 'allow-without-sound' : 'allow'}`,
        `--enable-webgl=${webgl}`,
        '--enable-fullscreen=true',
    ];
    let session;
    try {
        session = await call('POST', '/session', {
            capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: miniBrowser(), args } } },
        });
    } catch (error) {
        driver.kill();
        throw new Error(`${error.message}\n${log}`);
    }
    const at = (path) => `/session/${session.sessionId}${path}`;
    // One MiniBrowser window: a page is opened in it and closed by leaving it.
    const tab = webDriverTab((method, path, body) => call(method, at(path), body));
    return {
        // The driver's process; MiniBrowser and its web processes run below it.
        pid: driver.pid,
        open: async (url, viewport) => {
            await tab.resize(viewport);
            await call('POST', at('/url'), { url });
            return tab;
        },
        close: async () => {
            await call('DELETE', at('')).catch(() => {});
            driver.kill();
        },
    };
}

async function waitForDriver(base, driver, log) {
    for (let attempt = 0; attempt < 100; ++attempt) {
        if (driver.exitCode !== null) throw new Error(`WebKitWebDriver ended early: ${log()}`);
        try {
            if ((await fetch(`${base}/status`)).ok) return;
        } catch {
            // not listening yet
        }
        await new Promise((done) => setTimeout(done, 100));
    }
    throw new Error(`WebKitWebDriver did not answer: ${log()}`);
}

function webDriverTab(call) {
    const pointer = (steps) => call('POST', '/actions', {
        actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: steps }],
    });
    const moveTo = ({ x, y }, duration = 0) => ({ type: 'pointerMove', origin: 'viewport', x: Math.round(x), y: Math.round(y), duration });
    const evaluate = async (fn, ...args) => {
        // Promises are awaited as puppeteer's evaluate does; errors come back as text.
        const script = `const done = arguments[arguments.length - 1];
            Promise.resolve().then(() => (${fn})(...Array.from(arguments).slice(0, -1)))
                .then((value) => done({ value: value === undefined ? null : value }), (error) => done({ error: String(error) }));`;
        const result = await call('POST', '/execute/async', { script, args });
        if (result.error) throw new Error(`in the page: ${result.error}`);
        return result.value;
    };
    return {
        evaluate,
        click: (x, y) => pointer([moveTo({ x, y }), { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]),
        drag: (from, to) =>
            pointer([moveTo(from), { type: 'pointerDown', button: 0 }, moveTo(to, 300), { type: 'pointerUp', button: 0 }]),
        // WebKitGTK's snapshot can lag the page by a frame or more; let it paint first.
        screenshot: async () => {
            await evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
            return Buffer.from(await call('GET', '/screenshot'), 'base64');
        },
        // The window's frame and toolbar take room of their own: measure and correct.
        resize: async ({ width, height }) => {
            let rect = { width, height };
            for (let attempt = 0; attempt < 3; ++attempt) {
                await call('POST', '/window/rect', rect);
                const inner = await evaluate(() => ({ width: window.innerWidth, height: window.innerHeight }));
                if (inner.width === width && inner.height === height) return;
                rect = { width: rect.width + width - inner.width, height: rect.height + height - inner.height };
            }
        },
        close: () => call('POST', '/url', { url: 'about:blank' }),
    };
}
