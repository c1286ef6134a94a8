// Benchmark of the published player; prints figures, asserts nothing.
//
//   node tools/bench/player.mjs [--quillmark build/quillmark] [--seconds 5] [--rounds 3]
//
// 1. Size: a default package published from the demo clip, every file but the
//    videos gzip-compressed, per file and in total (goal: 250 KB at most).
// 2. Time to the first drawn video frame and main-thread time per second of
//    playback, for our player and, measured the same way in the same run, for a
//    reference viewer (Photo Sphere Viewer with its video adapter) that is
//    installed from npm into a temporary folder for this run only. Both show the
//    same clip at the same size in Debian's Chromium with software WebGL.
import { execFile, spawn } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, extname, join, relative, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { gzipSync } from 'node:zlib';
import { build } from 'esbuild';
import { chromium } from 'playwright-core';

const run = promisify(execFile);
const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const VIDEO_EXTENSIONS = new Set(['.mp4', '.webm', '.ogg', '.ogv', '.mov', '.qt', '.m4v']);
const SIZE_GOAL = 250 * 1024;
const WIDTH = 550;
const HEIGHT = 400;
const REFERENCE_PACKAGES = [
    '@photo-sphere-viewer/core@5.15.1',
    '@photo-sphere-viewer/video-plugin@5.15.1',
    '@photo-sphere-viewer/equirectangular-video-adapter@5.15.1',
];
const CHROMIUM_FLAGS = [
    '--no-sandbox',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--no-first-run',
    '--disable-quic',
    '--use-gl=angle',
    '--use-angle=swiftshader',
    '--enable-unsafe-swiftshader',
    '--autoplay-policy=no-user-gesture-required',
];

function option(name, fallback) {
    const at = process.argv.indexOf(`--${name}`);
    return at >= 0 && process.argv[at + 1] ? process.argv[at + 1] : fallback;
}

const quillmarkPath = resolve(option('quillmark', join(repoRoot, 'build/quillmark')));
const playSeconds = Number(option('seconds', '5'));
const rounds = Number(option('rounds', '3'));

async function quillmark(...args) {
    return run(quillmarkPath, args, { timeout: 120000 });
}

function filesBelow(dir) {
    return readdirSync(dir).flatMap((name) => {
        const path = join(dir, name);
        return statSync(path).isDirectory() ? filesBelow(path) : [path];
    });
}

function kib(bytes) {
    return `${(bytes / 1024).toFixed(1)} KB`;
}

async function publishDemo(work) {
    const clipDir = join(work, 'clip');
    await run(join(repoRoot, 'tools/demo/make-clip.sh'), [clipDir, '10'], { timeout: 300000 });
    const project = join(work, 'bench.pp5');
    await quillmark('new', project, join(clipDir, 'demo.mp4'));
    const out = join(work, 'package');
    await quillmark('publish', project, join(out, 'index.html'));
    return out;
}

function reportSize(packageDir) {
    const rows = filesBelow(packageDir)
        .filter((path) => !VIDEO_EXTENSIONS.has(extname(path).toLowerCase()))
        .map((path) => {
            const bytes = readFileSync(path);
            return { name: relative(packageDir, path), raw: bytes.length, gzip: gzipSync(bytes, { level: 9 }).length };
        })
        .sort((a, b) => b.gzip - a.gzip);
    const total = rows.reduce((sum, row) => sum + row.gzip, 0);
    const raw = rows.reduce((sum, row) => sum + row.raw, 0);
    console.log('Package without the video (gzip -9 per file):');
    for (const row of rows.slice(0, 8)) {
        console.log(`  ${row.name.padEnd(28)} ${kib(row.raw).padStart(10)} -> ${kib(row.gzip).padStart(9)}`);
    }
    console.log(`  ... ${rows.length} files in all`);
    console.log(`  total ${kib(raw)} -> ${kib(total)} gzip (goal <= ${kib(SIZE_GOAL)}: ${total <= SIZE_GOAL ? 'met' : 'NOT met'})`);
}

// The reference viewer, bundled for the browser from packages installed only here.
async function buildReferencePage(work, packageDir) {
    const npmDir = join(work, 'reference');
    await run('npm', ['install', '--prefix', npmDir, '--no-audit', '--no-fund', '--loglevel=error', ...REFERENCE_PACKAGES], {
        timeout: 300000,
    });
    const entry = `
import { Viewer } from '@photo-sphere-viewer/core';
import { VideoPlugin } from '@photo-sphere-viewer/video-plugin';
import { EquirectangularVideoAdapter } from '@photo-sphere-viewer/equirectangular-video-adapter';
new Viewer({
  container: document.getElementById('viewer'),
  adapter: [EquirectangularVideoAdapter, { autoplay: true, muted: false }],
  panorama: { source: 'demo.mp4' },
  plugins: [VideoPlugin],
  defaultZoomLvl: 0,
});`;
    const bundle = await build({
        stdin: { contents: entry, resolveDir: npmDir, sourcefile: 'reference.js' },
        bundle: true,
        minify: true,
        format: 'iife',
        write: false,
        nodePaths: [join(npmDir, 'node_modules')],
        loader: { '.css': 'css' },
        outdir: work,
        logLevel: 'error',
    });
    const script = bundle.outputFiles.find((file) => file.path.endsWith('.js')).text;
    const css = ['core', 'video-plugin']
        .map((name) => readFileSync(join(npmDir, 'node_modules/@photo-sphere-viewer', name, 'index.css'), 'utf8'))
        .join('\n');
    writeFileSync(join(packageDir, 'reference.js'), script);
    writeFileSync(
        join(packageDir, 'reference.html'),
        `<!DOCTYPE html><html><head><meta charset="utf-8"><style>${css}\nhtml,body{margin:0}#viewer{width:${WIDTH}px;height:${HEIGHT}px}</style></head>` +
            `<body><div id="viewer"></div><script src="reference.js"></script></body></html>`,
    );
}

async function freePort() {
    return new Promise((done, fail) => {
        const server = createServer();
        server.once('error', fail);
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => done(port));
        });
    });
}

async function serve(dir) {
    const port = await freePort();
    const child = spawn(quillmarkPath, ['serve', dir, '--port', String(port)], { stdio: 'ignore' });
    const base = `http://127.0.0.1:${port}/`;
    for (let attempt = 0; attempt < 100; ++attempt) {
        try {
            if ((await fetch(`${base}tv360_player.html`)).ok) return { base, stop: () => child.kill() };
        } catch {
            await new Promise((r) => setTimeout(r, 100));
        }
    }
    child.kill();
    throw new Error('quillmark serve did not answer');
}

// Records when a video frame first reaches a texture and every draw call after.
function instrument() {
    const marks = { firstVideoUpload: null, draws: [] };
    window.__bench = marks;
    for (const Context of [window.WebGL2RenderingContext, window.WebGLRenderingContext]) {
        if (!Context) continue;
        for (const name of ['texImage2D', 'texSubImage2D']) {
            const original = Context.prototype[name];
            Context.prototype[name] = function (...args) {
                if (marks.firstVideoUpload === null && args.some((arg) => arg instanceof HTMLVideoElement)) {
                    marks.firstVideoUpload = performance.now();
                }
                return original.apply(this, args);
            };
        }
        for (const name of ['drawElements', 'drawArrays']) {
            const original = Context.prototype[name];
            Context.prototype[name] = function (...args) {
                if (marks.firstVideoUpload !== null) marks.draws.push(performance.now());
                return original.apply(this, args);
            };
        }
    }
}

async function measure(url) {
    const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args: CHROMIUM_FLAGS });
    try {
        const page = await browser.newPage({ viewport: { width: WIDTH, height: HEIGHT } });
        await page.addInitScript(instrument);
        const cdp = await page.context().newCDPSession(page);
        await cdp.send('Performance.enable');
        await page.goto(url);
        await page.waitForFunction(() => window.__bench.draws.length > 0, null, { timeout: 120000 });
        const firstFrame = await page.evaluate(() => window.__bench.draws[0]);
        await page.waitForTimeout(1000);
        const metric = async () => {
            const { metrics } = await cdp.send('Performance.getMetrics');
            const value = (name) => metrics.find((m) => m.name === name)?.value ?? 0;
            return { task: value('TaskDuration'), script: value('ScriptDuration'), at: value('Timestamp') };
        };
        const drawsBefore = await page.evaluate(() => window.__bench.draws.length);
        const start = await metric();
        await page.waitForTimeout(playSeconds * 1000);
        const end = await metric();
        const drawsAfter = await page.evaluate(() => window.__bench.draws.length);
        const seconds = end.at - start.at;
        return {
            firstFrameMs: firstFrame,
            mainThreadMsPerS: ((end.task - start.task) * 1000) / seconds,
            scriptMsPerS: ((end.script - start.script) * 1000) / seconds,
            drawsPerS: (drawsAfter - drawsBefore) / seconds,
        };
    } finally {
        await browser.close();
    }
}

function printRun(name, figures) {
    console.log(
        `  ${name.padEnd(24)} first frame ${figures.firstFrameMs.toFixed(0).padStart(6)} ms   main thread ` +
            `${figures.mainThreadMsPerS.toFixed(1).padStart(6)} ms/s (script ${figures.scriptMsPerS.toFixed(1)} ms/s)   ` +
            `${figures.drawsPerS.toFixed(1)} draws/s`,
    );
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function medianFigures(runs) {
    return Object.fromEntries(Object.keys(runs[0]).map((key) => [key, median(runs.map((run) => run[key]))]));
}

async function main() {
    const work = mkdtempSync(join(tmpdir(), 'qm-bench-'));
    console.log(`work folder ${work}`);
    const packageDir = await publishDemo(work);
    reportSize(packageDir);
    await buildReferencePage(work, packageDir);
    const server = await serve(packageDir);
    const viewers = [
        { name: 'quillmark player', url: `${server.base}tv360_player.html`, runs: [] },
        { name: 'Photo Sphere Viewer', url: `${server.base}reference.html`, runs: [] },
    ];
    try {
        console.log(
            `Playback at ${WIDTH} x ${HEIGHT}, ${playSeconds} s measured after 1 s, software WebGL, ` +
                `${rounds} rounds taking turns (the machine's load drifts):`,
        );
        for (let round = 1; round <= rounds; ++round) {
            for (const viewer of viewers) {
                const figures = await measure(viewer.url);
                viewer.runs.push(figures);
                printRun(`${viewer.name} #${round}`, figures);
            }
        }
        console.log('Medians:');
        for (const viewer of viewers) printRun(viewer.name, medianFigures(viewer.runs));
    } finally {
        server.stop();
    }
}

main().catch((error) => {
    console.error(`benchmark failed: ${error.stack || error.message}`);
    process.exit(1);
});
