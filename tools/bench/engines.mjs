// The player benchmark's measurement in Firefox ESR and WebKitGTK, driven as the
// browser tests drive them (tools/web/engines.mjs), with the figures the
// Chromium measurement gives:
//   - first frame and video ready: as in Chromium, from the page's own clock;
//   - main thread CPU per frame: the page process's main thread (Firefox's
//     content process of the tab, WebKit's WebKitWebProcess), as Linux's
//     scheduler counts it;
//   - whole browser CPU per frame: every process of the browser (Firefox's
//     parent, content, GPU and media processes; MiniBrowser with its web,
//     network and GPU processes), since these engines composite and run WebGL
//     in processes of their own making.
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { launchEngine, waitFor } from '../web/engines.mjs';

// Draw calls further apart than this belong to different frames.
const FRAME_GAP_MS = 4;

// A copy of a page that runs `instrument` before anything else: WebKit's driver
// cannot add a script to a page before the page's own.
export function probedCopy(dir, pageName, instrument) {
    writeFileSync(join(dir, 'bench-probe.js'), `(${instrument})();\n`);
    const copy = pageName.replace(/\.html$/, '.probed.html');
    const html = readFileSync(join(dir, pageName), 'latin1');
    writeFileSync(join(dir, copy), html.replace(/<head>/i, '$&<script src="bench-probe.js"></script>'), 'latin1');
    return copy;
}

// Time in ms a thread has spent on a CPU, as Linux's scheduler counts it.
export function threadCpuMs(pid, tid = pid) {
    try {
        return Number(readFileSync(`/proc/${pid}/task/${tid}/schedstat`, 'utf8').split(' ')[0]) / 1e6;
    } catch {
        return 0;
    }
}

export function processCpuMs(pid) {
    try {
        return readdirSync(`/proc/${pid}/task`).reduce((sum, tid) => sum + threadCpuMs(pid, tid), 0);
    } catch {
        return 0;
    }
}

// Every process below rootPid, with its command line's words.
function processesBelow(rootPid) {
    const parents = new Map();
    for (const name of readdirSync('/proc').filter((entry) => /^\d+$/.test(entry))) {
        try {
            const stat = readFileSync(`/proc/${name}/stat`, 'utf8');
            parents.set(Number(name), Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]));
        } catch {
            // gone already
        }
    }
    const found = [];
    for (let queue = [rootPid]; queue.length; ) {
        const pid = queue.shift();
        const children = [...parents].filter(([, parent]) => parent === pid).map(([child]) => child);
        queue.push(...children);
        for (const child of children) {
            try {
                // Firefox's fork server rewrites its children's command lines with blanks.
                const words = readFileSync(`/proc/${child}/cmdline`, 'utf8').split(/[\0 ]/).filter(Boolean);
                found.push({ pid: child, words });
            } catch {
                // gone already
            }
        }
    }
    return found;
}

// The processes that run a page's scripts.
const PAGE_PROCESS = {
    firefox: (words) => words.includes('-contentproc') && words.includes('tab'),
    webkit: (words) => words[0].endsWith('WebKitWebProcess'),
};

function cpuSnapshot(pages, all) {
    return {
        main: new Map(pages.map((pid) => [pid, threadCpuMs(pid)])),
        all: all.reduce((sum, pid) => sum + processCpuMs(pid), 0),
    };
}

// Draw calls of one frame come together; a gap starts the next frame.
export function framesIn(draws) {
    return draws.filter((time, i) => i === 0 || time - draws[i - 1] > FRAME_GAP_MS).length;
}

// Loads a probed page (probedCopy) in the engine and measures it.
export async function measureInEngine(name, url, { width, height, playSeconds }) {
    const engine = await launchEngine(name, { autoplay: 'allowed' });
    try {
        const tab = await engine.open(url, { width, height });
        await waitFor(tab, () => window.__bench.draws.length > 0, null, { timeout: 120000, what: 'the first frame' });
        const { firstFrame, videoReady } = await tab.evaluate(() => ({
            firstFrame: window.__bench.draws[0],
            videoReady: window.__bench.videoReady,
        }));
        await new Promise((done) => setTimeout(done, 1000));
        const processes = processesBelow(engine.pid);
        const pages = processes.filter(({ words }) => PAGE_PROCESS[name](words)).map(({ pid }) => pid);
        const all = [engine.pid, ...processes.map(({ pid }) => pid)];
        const drawsBefore = await tab.evaluate(() => window.__bench.draws.length);
        const start = { cpu: cpuSnapshot(pages, all), at: performance.now() };
        await new Promise((done) => setTimeout(done, playSeconds * 1000));
        const end = { cpu: cpuSnapshot(pages, all), at: performance.now() };
        const draws = await tab.evaluate((from) => window.__bench.draws.slice(from), drawsBefore);
        const frames = Math.max(1, framesIn(draws));
        // The page's process is the one whose main thread worked.
        const mainMs = Math.max(0, ...pages.map((pid) => end.cpu.main.get(pid) - start.cpu.main.get(pid)));
        return {
            firstFrameMs: firstFrame,
            videoReadyMs: videoReady ?? NaN,
            mainCpuMsPerFrame: mainMs / frames,
            allCpuMsPerFrame: (end.cpu.all - start.cpu.all) / frames,
            framesPerS: frames / ((end.at - start.at) / 1000),
        };
    } finally {
        await engine.close();
    }
}
