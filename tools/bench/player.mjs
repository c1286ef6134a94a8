// Benchmark of the published player; prints figures, asserts nothing.
//
//   node tools/bench/player.mjs [--quillmark build/quillmark] [--seconds 5] [--rounds 3]
//                               [--only ours,pannellum,psv,sphere,bare] [--engines chromium,firefox,webkit]
//
// 1. Size: a package published from a 1920 x 960 H.264 clip, every file but the
//    video gzip-compressed, per file and in total (goal: 250 KB at most).
// 2. For our player and, measured the same way in the same run, four references:
//    Pannellum 2.5.7 (a video element as dynamic panorama, as its video plugin
//    does), Photo Sphere Viewer 5.15 with its video adapter (both installed from
//    npm into a temporary folder for this run only), a minimal three.js sphere
//    built from the repository's own three.js, and a bare WebGL page (no page
//    around the view, one quad: the floor of drawing video on the main thread):
//      - the time from navigation to the first draw after a video frame reached a
//        texture, and to the video's first decoded frame ("video ready");
//      - CPU time of the page's main thread per drawn frame (the scheduler's own
//        account of time on a CPU, so a busy machine does not inflate it), the
//        CPU time of the page's and the GPU's processes together per frame, and
//        frames drawn per second.
//    Same clip, 900 x 600, our frame cap at 30 (the clip has 25 frames/s, which the
//    references all draw), Debian's Chromium with software WebGL; the viewers take
//    turns for several rounds (the machine's load drifts) and medians are printed.
// 3. The same in Firefox ESR and WebKitGTK (under Xvfb, Mesa's software GL; CPU
//    per frame counted from each engine's own processes: tools/bench/engines.mjs).
import { execFile, spawn } from 'node:child_process';
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, extname, join, relative, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { gzipSync } from 'node:zlib';
import { build } from 'esbuild';
import { chromium } from 'playwright-core';

import { CHROMIUM_FLAGS, freePort } from '../web/engines.mjs';
import { framesIn, measureInEngine, processCpuMs, probedCopy, threadCpuMs } from './engines.mjs';

const run = promisify(execFile);
const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const VIDEO_EXTENSIONS = new Set(['.mp4', '.webm', '.ogg', '.ogv', '.mov', '.qt', '.m4v']);
const SIZE_GOAL = 250 * 1024;
const WIDTH = 900;
const HEIGHT = 600;
const CLIP = 'bench.mp4';
const REFERENCE_PACKAGES = [
    'pannellum@2.5.7',
    '@photo-sphere-viewer/core@5.15.1',
    '@photo-sphere-viewer/video-plugin@5.15.1',
    '@photo-sphere-viewer/equirectangular-video-adapter@5.15.1',
];

function option(name, fallback) {
    const at = process.argv.indexOf(`--${name}`);
    return at >= 0 && process.argv[at + 1] ? process.argv[at + 1] : fallback;
}

const quillmarkPath = resolve(option('quillmark', join(repoRoot, 'build/quillmark')));
const playSeconds = Number(option('seconds', '5'));
const rounds = Number(option('rounds', '3'));
const only = option('only', 'ours,pannellum,psv,sphere,bare').split(',');
const engines = option('engines', 'chromium,firefox,webkit').split(',');

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

// The demo clip scaled to 1920 x 960, a common size for 360 video.
async function makeClip(work) {
    const clipDir = join(work, 'clip');
    await run(join(repoRoot, 'tools/demo/make-clip.sh'), [clipDir, '10'], { timeout: 300000 });
    const clip = join(clipDir, CLIP);
    await run(
        'ffmpeg',
        ['-v', 'error', '-y', '-i', join(clipDir, 'demo.mp4'), '-vf', 'scale=1920:960', '-c:v', 'libx264',
            '-preset', 'veryfast', '-pix_fmt', 'yuv420p', '-c:a', 'copy', '-movflags', '+faststart', clip],
        { timeout: 300000 },
    );
    return clip;
}

async function publish(work, clip) {
    const project = join(work, 'bench.pp5');
    await quillmark('new', project, clip);
    // The references draw every picture of the 25 frames/s clip; with the cap at
    // 30 (MAXFPS item 6) instead of the default 15 ours may too, so the figures
    // per drawn frame compare like with like.
    await quillmark('set', project, 'MAXFPS', '6');
    const out = join(work, 'package');
    await quillmark('publish', project, join(out, 'index.html'), '--manual-size', `${WIDTH}x${HEIGHT}`);
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

async function bundle(contents, resolveDir, nodePaths = []) {
    const result = await build({
        stdin: { contents, resolveDir, sourcefile: 'entry.js' },
        bundle: true,
        minify: true,
        format: 'iife',
        write: false,
        nodePaths,
        outdir: resolveDir,
        logLevel: 'error',
    });
    return result.outputFiles.find((file) => file.path.endsWith('.js')).text;
}

function page(head, body) {
    return (
        `<!DOCTYPE html><html><head><meta charset="utf-8">${head}` +
        `<style>html,body{margin:0;overflow:hidden}#viewer{width:${WIDTH}px;height:${HEIGHT}px}</style></head>` +
        `<body>${body}</body></html>`
    );
}

// Pannellum's own video support: its Video.js plugin hands a video element to the
// viewer as a dynamic panorama and switches updates on while it plays; the same
// wiring without Video.js.
function writePannellum(npmDir, packageDir) {
    const build = join(npmDir, 'node_modules/pannellum/build');
    copyFileSync(join(build, 'pannellum.js'), join(packageDir, 'pannellum.js'));
    copyFileSync(join(build, 'pannellum.css'), join(packageDir, 'pannellum.css'));
    const script = `
var video = document.getElementById('video');
var viewer = pannellum.viewer('viewer', { type: 'equirectangular', dynamic: true, autoLoad: true,
  panorama: video, showZoomCtrl: false, showFullscreenCtrl: false });
video.addEventListener('play', function () { if (video.readyState > 1) viewer.setUpdate(true); });
video.addEventListener('canplay', function () { if (!video.paused) viewer.setUpdate(true); });
video.addEventListener('pause', function () { viewer.setUpdate(false); });`;
    writeFileSync(
        join(packageDir, 'pannellum.html'),
        page(
            '<link rel="stylesheet" href="pannellum.css">',
            `<div id="viewer"></div><video id="video" src="${CLIP}" autoplay playsinline style="display:none"></video>` +
                `<script src="pannellum.js"></script><script>${script}</script>`,
        ),
    );
}

async function writePhotoSphereViewer(npmDir, packageDir) {
    const entry = `
import { Viewer } from '@photo-sphere-viewer/core';
import { VideoPlugin } from '@photo-sphere-viewer/video-plugin';
import { EquirectangularVideoAdapter } from '@photo-sphere-viewer/equirectangular-video-adapter';
new Viewer({
  container: document.getElementById('viewer'),
  adapter: [EquirectangularVideoAdapter, { autoplay: true, muted: false }],
  panorama: { source: '${CLIP}' },
  plugins: [VideoPlugin],
  defaultZoomLvl: 0,
});`;
    writeFileSync(join(packageDir, 'psv.js'), await bundle(entry, npmDir, [join(npmDir, 'node_modules')]));
    const css = ['core', 'video-plugin']
        .map((name) => readFileSync(join(npmDir, 'node_modules/@photo-sphere-viewer', name, 'index.css'), 'utf8'))
        .join('\n');
    writeFileSync(join(packageDir, 'psv.html'), page(`<style>${css}</style>`, '<div id="viewer"></div><script src="psv.js"></script>'));
}

// The least a three.js video sphere needs: a video texture on a 60 x 40 sphere,
// drawn at every animation frame.
async function writeMinimalSphere(packageDir) {
    const entry = `
import { Mesh, MeshBasicMaterial, PerspectiveCamera, Scene, SphereGeometry, VideoTexture, WebGLRenderer } from 'three';
const video = document.getElementById('video');
const renderer = new WebGLRenderer();
renderer.setSize(${WIDTH}, ${HEIGHT});
document.getElementById('viewer').appendChild(renderer.domElement);
const camera = new PerspectiveCamera(75, ${WIDTH / HEIGHT}, 1, 1100);
const geometry = new SphereGeometry(500, 60, 40);
geometry.scale(-1, 1, 1);
const scene = new Scene();
scene.add(new Mesh(geometry, new MeshBasicMaterial({ map: new VideoTexture(video) })));
renderer.setAnimationLoop(() => renderer.render(scene, camera));`;
    writeFileSync(join(packageDir, 'sphere.js'), await bundle(entry, repoRoot));
    writeFileSync(
        join(packageDir, 'sphere.html'),
        page('', `<div id="viewer"></div><video id="video" src="${CLIP}" autoplay playsinline style="display:none"></video><script src="sphere.js"></script>`),
    );
}

// The floor of drawing a video with WebGL on a page's main thread: no page
// around it, one quad, one upload and one draw call for each new picture.
function writeBareWebGl(packageDir) {
    const script = `
const video = document.getElementById('video');
const gl = document.getElementById('view').getContext('webgl2', { alpha: false, antialias: false, depth: false });
const program = gl.createProgram();
for (const [type, text] of [
  [gl.VERTEX_SHADER, '#version 300 es\\nin vec2 p; out vec2 uv; void main() { uv = vec2(p.x, -p.y) * 0.5 + 0.5; gl_Position = vec4(p, 0, 1); }'],
  [gl.FRAGMENT_SHADER, '#version 300 es\\nprecision highp float; in vec2 uv; uniform sampler2D t; out vec4 c; void main() { c = vec4(texture(t, uv).rgb, 1); }'],
]) {
  const shader = gl.createShader(type);
  gl.shaderSource(shader, text);
  gl.compileShader(shader);
  gl.attachShader(program, shader);
}
gl.bindAttribLocation(program, 0, 'p');
gl.linkProgram(program);
gl.useProgram(program);
gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]), gl.STATIC_DRAW);
gl.enableVertexAttribArray(0);
gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 0, 0);
gl.bindTexture(gl.TEXTURE_2D, gl.createTexture());
gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.LINEAR);
gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
const draw = () => {
  gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGB, gl.RGB, gl.UNSIGNED_BYTE, video);
  gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
};
const onFrame = () => { video.requestVideoFrameCallback(onFrame); draw(); };
if (video.requestVideoFrameCallback) video.requestVideoFrameCallback(onFrame);
else (function loop() { requestAnimationFrame(loop); if (video.readyState >= 2) draw(); })();`;
    writeFileSync(
        join(packageDir, 'bare.html'),
        page(
            '',
            `<canvas id="view" width="${WIDTH}" height="${HEIGHT}"></canvas>` +
                `<video id="video" src="${CLIP}" autoplay playsinline style="display:none"></video><script>${script}</script>`,
        ),
    );
}

async function writeReferences(work, packageDir) {
    const npmDir = join(work, 'reference');
    await run('npm', ['install', '--prefix', npmDir, '--no-audit', '--no-fund', '--loglevel=error', ...REFERENCE_PACKAGES], {
        timeout: 300000,
    });
    writePannellum(npmDir, packageDir);
    await writePhotoSphereViewer(npmDir, packageDir);
    await writeMinimalSphere(packageDir);
    writeBareWebGl(packageDir);
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

// Records the first decoded video frame, when a video frame first reaches a
// texture, and every draw call after that.
function instrument() {
    const marks = { videoReady: null, firstVideoUpload: null, draws: [] };
    window.__bench = marks;
    const ready = () => {
        marks.videoReady ??= performance.now();
    };
    // Media events do not bubble but pass the document while capturing; a video
    // kept out of the document is caught where it is made.
    document.addEventListener('loadeddata', ready, true);
    const createElement = Document.prototype.createElement;
    Document.prototype.createElement = function (name, ...rest) {
        const element = createElement.call(this, name, ...rest);
        if (String(name).toLowerCase() === 'video') element.addEventListener('loadeddata', ready);
        return element;
    };
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



// The browser's renderer and GPU processes: descendants of its main process.
function browserProcesses(rootPid) {
    const parents = new Map();
    for (const name of readdirSync('/proc')) {
        if (!/^\d+$/.test(name)) continue;
        try {
            const stat = readFileSync(`/proc/${name}/stat`, 'utf8');
            parents.set(Number(name), Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]));
        } catch {
            // gone already
        }
    }
    const found = { renderers: [], gpu: [] };
    const below = (pid) => [...parents].filter(([, parent]) => parent === pid).map(([child]) => child);
    for (let queue = below(rootPid); queue.length; ) {
        const pid = queue.shift();
        queue.push(...below(pid));
        const command = readFileSync(`/proc/${pid}/cmdline`, 'utf8');
        if (command.includes('--type=renderer')) found.renderers.push(pid);
        if (command.includes('--type=gpu-process')) found.gpu.push(pid);
    }
    return found;
}

function cpuSnapshot(processes) {
    return {
        main: new Map(processes.renderers.map((pid) => [pid, threadCpuMs(pid)])),
        all: [...processes.renderers, ...processes.gpu].reduce((sum, pid) => sum + processCpuMs(pid), 0),
    };
}


// The browser's own process, known by the profile folder it was given.
function browserPid(profile) {
    for (const name of readdirSync('/proc')) {
        if (!/^\d+$/.test(name)) continue;
        try {
            const command = readFileSync(`/proc/${name}/cmdline`, 'utf8');
            if (command.includes(`--user-data-dir=${profile}`) && !command.includes('--type=')) return Number(name);
        } catch {
            // gone already
        }
    }
    throw new Error('the browser process was not found');
}

async function measure(url) {
    const profile = mkdtempSync(join(tmpdir(), 'qm-bench-profile-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: '/usr/bin/chromium',
        headless: true,
        args: [...CHROMIUM_FLAGS, '--autoplay-policy=no-user-gesture-required'],
        viewport: { width: WIDTH, height: HEIGHT },
    });
    try {
        const page = context.pages()[0] ?? (await context.newPage());
        await page.addInitScript(instrument);
        await page.goto(url);
        await page.waitForFunction(() => window.__bench.draws.length > 0, null, { timeout: 120000 });
        const { firstFrame, videoReady } = await page.evaluate(() => ({
            firstFrame: window.__bench.draws[0],
            videoReady: window.__bench.videoReady,
        }));
        await page.waitForTimeout(1000);
        const processes = browserProcesses(browserPid(profile));
        const drawsBefore = await page.evaluate(() => window.__bench.draws.length);
        const start = { cpu: cpuSnapshot(processes), at: performance.now() };
        await page.waitForTimeout(playSeconds * 1000);
        const end = { cpu: cpuSnapshot(processes), at: performance.now() };
        const draws = await page.evaluate((from) => window.__bench.draws.slice(from), drawsBefore);
        const seconds = (end.at - start.at) / 1000;
        const frames = Math.max(1, framesIn(draws));
        // The page's renderer is the one whose main thread worked.
        const mainMs = Math.max(...processes.renderers.map((pid) => end.cpu.main.get(pid) - start.cpu.main.get(pid)));
        return {
            firstFrameMs: firstFrame,
            videoReadyMs: videoReady ?? NaN,
            mainCpuMsPerFrame: mainMs / frames,
            allCpuMsPerFrame: (end.cpu.all - start.cpu.all) / frames,
            framesPerS: frames / seconds,
        };
    } finally {
        await context.close();
        rmSync(profile, { recursive: true, force: true });
    }
}

function printRun(name, figures) {
    const number = (value, digits, width) => value.toFixed(digits).padStart(width);
    console.log(
        `  ${name.padEnd(27)} first frame ${number(figures.firstFrameMs, 0, 5)} ms  video ready ${number(figures.videoReadyMs, 0, 5)} ms  ` +
            `main thread ${number(figures.mainCpuMsPerFrame, 2, 5)} ms CPU/frame  page and GPU ${number(figures.allCpuMsPerFrame, 1, 5)} ms CPU/frame  ` +
            `${number(figures.framesPerS, 1, 4)} frames/s`,
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

function printRanking(viewers, key, label) {
    const ranked = [...viewers].sort((a, b) => a.medians[key] - b.medians[key]);
    console.log(`  ${label}: ${ranked.map((viewer) => viewer.name).join(' < ')}`);
}

async function main() {
    const work = mkdtempSync(join(tmpdir(), 'qm-bench-'));
    console.log(`work folder ${work} (removed at the end)`);
    try {
        await compare(work);
    } finally {
        rmSync(work, { recursive: true, force: true });
    }
}

async function compare(work) {
    const packageDir = await publish(work, await makeClip(work));
    reportSize(packageDir);
    await writeReferences(work, packageDir);
    const server = await serve(packageDir);
    const viewers = [
        { key: 'ours', name: 'quillmark player', url: 'tv360_player.html' },
        { key: 'pannellum', name: 'Pannellum 2.5.7', url: 'pannellum.html' },
        { key: 'psv', name: 'Photo Sphere Viewer 5.15', url: 'psv.html' },
        { key: 'sphere', name: 'minimal three.js sphere', url: 'sphere.html' },
        { key: 'bare', name: 'bare WebGL page', url: 'bare.html' },
    ]
        .filter((viewer) => only.includes(viewer.key))
        .map((viewer) => ({ ...viewer, runs: [] }));
    try {
        for (const engine of engines) {
            await compareIn(engine, viewers.map((viewer) => ({ ...viewer, runs: [] })), server, packageDir);
        }
    } finally {
        server.stop();
    }
}

async function compareIn(engine, viewers, server, packageDir) {
    console.log(
        `${engine}: ${WIDTH} x ${HEIGHT}, 1920 x 960 H.264, ${playSeconds} s measured after 1 s, software WebGL, ` +
            `${rounds} rounds taking turns (the machine's load drifts):`,
    );
    const size = { width: WIDTH, height: HEIGHT, playSeconds };
    for (let round = 1; round <= rounds; ++round) {
        for (const viewer of viewers) {
            const figures =
                engine === 'chromium'
                    ? await measure(server.base + viewer.url)
                    : await measureInEngine(engine, server.base + probedCopy(packageDir, viewer.url, instrument), size);
            viewer.runs.push(figures);
            printRun(`${viewer.name} #${round}`, figures);
        }
    }
    console.log(`Medians in ${engine}${engine === 'chromium' ? '' : ' (page and GPU: the whole browser)'}:`);
    for (const viewer of viewers) {
        viewer.medians = medianFigures(viewer.runs);
        printRun(viewer.name, viewer.medians);
    }
    printRanking(viewers, 'firstFrameMs', 'first frame');
    printRanking(viewers, 'mainCpuMsPerFrame', 'main-thread CPU per frame');
}

// Firefox and WebKitGTK need a display: without one the benchmark runs itself again under Xvfb.
function needsDisplay() {
    return !process.env.DISPLAY && engines.some((engine) => engine !== 'chromium');
}

if (needsDisplay()) {
    const args = ['-a', '-s', '-screen 0 1280x1024x24', process.execPath, ...process.argv.slice(1)];
    const child = spawn('xvfb-run', args, { stdio: 'inherit' });
    child.on('exit', (code) => process.exit(code ?? 1));
} else {
    main().catch((error) => {
        console.error(`benchmark failed: ${error.stack || error.message}`);
        process.exit(1);
    });
}
