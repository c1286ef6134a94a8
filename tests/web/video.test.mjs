// The video itself in the published player: a loading indicator until the first
// frame, a message instead of a black sphere when the video cannot be played,
// an H.264 QuickTime video played, and a copy whose index publishing moved first
// starting over a slow link from the head of the file alone.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { readFileSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { promisify } from 'node:util';

import { demoClip, dismissTitle, launch, openPlayer, publishCase, quillmark, screenshot, serve, workDir } from './lib/harness.mjs';
import { canvasColours, nameColour } from './lib/pixels.mjs';

const run = promisify(execFile);
const ffmpeg = (...args) => run('ffmpeg', ['-hide_banner', '-loglevel', 'error', '-nostdin', '-y', ...args]);

const servers = [];
let browser;
let clips;

async function served(name, clip) {
    const dir = await publishCase(name, { clip });
    const server = await serve(dir);
    servers.push(server);
    return { dir, server };
}

before(async () => {
    clips = workDir('video-clips');
    const demo = demoClip();
    // The muxer's default puts the index after the media data.
    await ffmpeg('-i', demo, '-c', 'copy', join(clips, 'end.mp4'));
    await ffmpeg('-i', demo, '-c', 'copy', join(clips, 'h264.mov'));
    await ffmpeg('-i', demo, '-t', '1', '-vf', 'scale=512:256', '-c:v', 'libx265', '-preset', 'ultrafast',
        '-x265-params', 'log-level=none', '-tag:v', 'hvc1', '-c:a', 'copy', join(clips, 'hevc.mp4'));
    writeFileSync(join(clips, 'empty.mp4'), '');
    browser = await launch();
});

after(async () => {
    await browser?.close();
    for (const server of servers) await server.stop();
});

const statusOf = (page) =>
    page.evaluate(() => {
        const overlay = document.getElementById('qm-video-status');
        return { state: overlay.dataset.state, text: overlay.textContent };
    });

test('index moved first: a spinner, then the first frame from the head of the file over a throttled link', async () => {
    const { dir, server } = await served('video-faststart', join(clips, 'end.mp4'));
    const { stdout } = await quillmark('check', '--json', join(dir, 'end.mp4'));
    assert.equal(JSON.parse(stdout)[0].facts.index, 'first', 'the copy holds its index first');
    const size = statSync(join(dir, 'end.mp4')).size;

    const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Network.enable');
    // The video alone at 400 kbit/s (the whole of it takes twelve seconds) and
    // slow to answer, long enough for the spinner, which a quick start never
    // shows; the player's scripts come at once, so it waits as on a slow link.
    const slow = { urlPattern: '*://*:*/end.mp4', latency: 2500, downloadThroughput: 50000, uploadThroughput: 50000 };
    await cdp.send('Network.emulateNetworkConditionsByRule', { offline: false, matchedNetworkConditions: [slow] });
    const ranges = [];
    const requests = new Set();
    let received = 0;
    let requestedAt = 0;
    cdp.on('Network.requestWillBeSent', ({ requestId, request }) => {
        if (!request.url.endsWith('/end.mp4')) return;
        requests.add(requestId);
        ranges.push(request.headers.Range ?? request.headers.range ?? 'whole');
        requestedAt ||= Date.now();
    });
    cdp.on('Network.dataReceived', ({ requestId, dataLength }) => {
        if (requests.has(requestId)) received += dataLength;
    });
    // The page's load event waits for the first frame; the spinner shows before it.
    await page.goto(server.base + 'tv360_player.html', { waitUntil: 'commit' });
    await page.locator('#qm-video-status[data-state="loading"] #qm-video-spinner').waitFor({ timeout: 60000 });
    await screenshot(page, 'video-loading');
    await page.waitForFunction(() => document.getElementById('video').readyState >= 2, null, { timeout: 60000 });
    const firstFrame = { bytes: received, seconds: (Date.now() - requestedAt) / 1000, ranges: [...ranges] };
    console.log(`first frame after ${firstFrame.seconds.toFixed(2)} s and ${firstFrame.bytes} of ${size} bytes; requests: ${firstFrame.ranges.join(', ')}`);
    // An index at the end would have sent the browser to the file's end first.
    assert.ok(firstFrame.ranges.every((range) => range === 'whole' || range === 'bytes=0-'), firstFrame.ranges.join(', '));
    assert.ok(firstFrame.bytes < size / 3, 'the first frame came long before the whole video');
    await page.waitForFunction(() => document.getElementById('qm-video-status').dataset.state === '');
    assert.equal(await page.locator('#qm-video-spinner').count(), 0);
    await context.close();
});

test('a video the browser cannot play: a message over the view, no spinner', async () => {
    const cases = [
        { clip: 'empty.mp4', text: 'This video cannot be played: this browser plays none of its formats.' },
        { clip: 'hevc.mp4', text: 'This video cannot be shown: this browser decodes its sound but not its picture.' },
    ];
    for (const { clip, text } of cases) {
        const { server } = await served(`video-${clip.replace('.', '-')}`, join(clips, clip));
        const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
        const page = await context.newPage();
        await page.goto(server.base + 'tv360_player.html');
        await page.locator('#qm-video-message').waitFor({ timeout: 60000 });
        assert.deepEqual(await statusOf(page), { state: 'problem', text }, clip);
        const box = await page.locator('#qm-video-message').boundingBox();
        const view = await page.locator('#container').boundingBox();
        assert.ok(box.x > view.x && box.x + box.width < view.x + view.width && box.y > view.y, 'the message lies over the view');
        await screenshot(page, `video-problem-${clip.replace('.', '-')}`);
        await context.close();
    }
});

// When the video had its first picture, and whether it had one at the page's
// first draw: a frame's rendering step may draw it before the queued loadeddata
// event is dispatched.
const recordVideoReady = () => {
    document.addEventListener('loadeddata', () => (window.__qmVideoReady ??= performance.now()), true);
    const draw = WebGL2RenderingContext.prototype.drawElements;
    WebGL2RenderingContext.prototype.drawElements = function (...args) {
        window.__qmPictureAtFirstDraw ??= document.getElementById('video').readyState >= 2;
        return draw.apply(this, args);
    };
};

test('an H.264 QuickTime video is named video/mp4 and plays, with nothing in the way of its start', async () => {
    const { dir, server } = await served('video-mov', join(clips, 'h264.mov'));
    assert.match(readFileSync(join(dir, 'tv360_player.html'), 'latin1'), /<SOURCE src="h264\.mov" type='video\/mp4'\/>/);
    const { page, context, problems } = await openPlayer(browser, server, { init: [recordVideoReady] });
    await page.waitForFunction(() => document.getElementById('video').currentTime > 0.5);
    // No draw before the video's first picture, and the buttons' pictures asked
    // for only with it (a video slower than two seconds gets them then).
    const start = await page.evaluate(() => ({
        ready: window.__qmVideoReady,
        pictureAtFirstDraw: window.__qmPictureAtFirstDraw,
        pictures: performance.getEntriesByType('resource').filter((e) => /\/images\/\w+\.png$/.test(e.name)).map((e) => e.startTime),
    }));
    assert.equal(start.pictureAtFirstDraw, true, 'the first draw comes with the first picture');
    assert.ok(start.pictures.length > 0, 'the buttons have their pictures');
    const early = start.pictures.filter((at) => at < Math.min(start.ready, 1900));
    assert.deepEqual(early, [], `pictures asked for before the first frame at ${start.ready} ms`);
    await dismissTitle(page);
    const [centre] = await canvasColours(page, [[0.5, 0.35]]);
    assert.equal(nameColour(centre), 0, 'the picture of lon 0 is drawn');
    assert.equal((await statusOf(page)).state, '');
    await screenshot(page, 'video-quicktime');
    assert.deepEqual(problems, []);
    await context.close();
});
