// The player's pure modules, run in Node without a browser: direction frame,
// limits, frame-rate cap, picture band, time text, links and the options read.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { directionVector, hotSpotLon, wrapDegrees } from '../../resources/web/player/directions.js';
import { DrawLimiter } from '../../resources/web/player/frameScheduler.js';
import { isShownAt, safeLink } from '../../resources/web/player/hotSpots.js';
import { declareHotSpotArrays } from '../../resources/web/player/hotSpotArrays.js';
import { readOptions } from '../../resources/web/player/options.js';
import { PerspectiveCamera, SphereGeometry, Vector3 } from 'three';
import { FULL_BAND, pictureRows, sphereBand } from '../../resources/web/player/pictureBand.js';
import { FAR, NEAR, sphereGeometry } from '../../resources/web/player/sphereRenderer.js';
import { lookMatrix, perspectiveMatrix } from '../../resources/web/player/viewMatrices.js';
import { warmUpGraphics, whenGraphicsWarm } from '../../resources/web/player/earlyContext.js';
import { timeText } from '../../resources/web/player/timeText.js';
import { stepAt, volumeStep } from '../../resources/web/player/controlPanel.js';
import { rowLayout } from '../../resources/web/player/buttons.js';
import { deviceDirection } from '../../resources/web/player/deviceOrientation.js';
import { fitSize } from '../../resources/web/player/layout.js';
import { ViewState } from '../../resources/web/player/viewState.js';
import { videoProblem } from '../../resources/web/player/videoStatus.js';

const close = (actual, expected, message) => assert.ok(Math.abs(actual - expected) < 1e-9, `${message}: ${actual} vs ${expected}`);

test('direction frame: lon 0 faces the frame middle, the frame reads left to right from inside', () => {
    // Frame middle after the sphere's x mirror lies on -x; 90 degrees right lies on -z.
    const ahead = directionVector(0, 0);
    close(ahead.x, -1, 'ahead x');
    close(ahead.z, 0, 'ahead z');
    const right = directionVector(90, 0);
    close(right.x, 0, 'right x');
    close(right.z, -1, 'right z');
    // Seen from the centre, looking at -x with +y up, the screen's right is -z:
    // the direction of lon +90 must be to the right, or the picture is mirrored.
    const screenRight = { x: 0, z: -1 };
    assert.ok(right.x * screenRight.x + right.z * screenRight.z > 0.99);
    close(directionVector(0, 90).y, 1, 'straight up');
});

test('hot spot yaw: published yaw undoes its half-turn shift', () => {
    // Stored 0 is published -180, stored 90 as -90, stored -179 as 1, stored 180 as 0.
    assert.equal(hotSpotLon(-180), 0);
    assert.equal(hotSpotLon(-90), 90);
    assert.equal(hotSpotLon(1), -179);
    assert.equal(hotSpotLon(0), 180);
    assert.equal(wrapDegrees(540), 180);
    assert.equal(wrapDegrees(-190), 170);
});

test('view limits: lat within vertmax, fov within 40..130, lon wraps', () => {
    const view = new ViewState({ lon: 350, lat: 80, fov: 150, vertMax: 45 });
    assert.equal(view.lon, -10);
    assert.equal(view.lat, 45);
    assert.equal(view.fov, 130);
    view.zoomBy(-500);
    assert.equal(view.fov, 40);
    view.turnBy(0, -200);
    assert.equal(view.lat, -45);
    const full = new ViewState({ lon: 0, lat: 0, fov: 90, vertMax: 90 });
    full.turnBy(0, 95);
    assert.ok(full.lat < 90 && full.lat > 89, 'stops just short of the pole');
});

test('panning runs until stopped and reports every change', () => {
    const view = new ViewState({ lon: 0, lat: 0, fov: 90, vertMax: 90 });
    let changes = 0;
    view.onChange = () => ++changes;
    view.startPanning(-1, 0);
    view.advance(0.1);
    view.advance(0.1);
    assert.ok(view.lon < 0, 'panning left lowers lon');
    const lonWhenStopped = view.lon;
    view.stopPanning();
    view.advance(0.1);
    assert.equal(view.lon, lonWhenStopped);
    assert.ok(changes >= 3);
});

test('draw limiter: never more than maxFps draws in any one second', () => {
    for (const maxFps of [7, 15, 24, 50, 60]) {
        const limiter = new DrawLimiter(maxFps);
        const draws = [];
        // A 60 Hz display with jitter offers far more frames than allowed.
        for (let t = 0; t < 5000; t += 1000 / 60 + ((t * 7) % 3) - 1) {
            if (limiter.mayDraw(t)) {
                limiter.recordDraw(t);
                draws.push(t);
            }
        }
        for (let i = maxFps; i < draws.length; ++i) {
            assert.ok(draws[i] - draws[i - maxFps] >= 1000, `${maxFps} fps: ${maxFps + 1} draws within a second`);
        }
        // And the cap is not far below the allowed rate either.
        assert.ok(draws.length >= Math.min(maxFps, 30) * 5 * 0.8, `${maxFps} fps gave only ${draws.length} draws in 5 s`);
    }
});

test('draw limiter: a refused draw learns how long to wait, then is allowed', () => {
    const limiter = new DrawLimiter(15);
    let t = 0;
    while (limiter.mayDraw(t)) limiter.recordDraw(t++);
    const wait = limiter.waitFrom(t);
    assert.ok(wait > 0 && !limiter.mayDraw(t + wait - 1) && limiter.mayDraw(t + wait), `waits ${wait} ms`);
});

test('small screens: the player keeps its aspect, pan row and volume steps suit fingers', () => {
    assert.deepEqual(fitSize(550, 400, 800, 600), { width: 550, height: 400 }, 'fits: published size');
    assert.deepEqual(fitSize(550, 400, 390, 844), { width: 390, height: 283 });
    assert.deepEqual(fitSize(550, 400, 844, 390), { width: 536, height: 390 });
    const upright = rowLayout(390, true);
    assert.ok(upright.width >= 44 && upright.height >= 44 && upright.perRow === 8, 'one row of 44 at 390');
    assert.equal(rowLayout(300, true).perRow, 4, 'two rows where one does not fit');
    assert.ok(rowLayout(390, false).width < 44, 'a mouse keeps the small row');
    assert.deepEqual([0, 0.01, 0.5, 0.99, 1].map(stepAt), [1, 1, 3, 6, 6]);
});

test('device orientation: turning left lowers lon, tilting up raises lat, whichever way the screen is turned', () => {
    const round = ({ lon, lat }) => [Math.round(lon * 100) / 100 + 0, Math.round(lat * 100) / 100 + 0];
    const [lon0] = round(deviceDirection(0, 90, 0, 0));
    assert.deepEqual(round(deviceDirection(30, 110, 0, 0)), [lon0 - 30, 20]);
    assert.equal(round(deviceDirection(0, 0, -90, 90))[1], 0, 'sideways and upright looks at the horizon');
    assert.equal(round(deviceDirection(0, -90, 0, 180))[1], 0, 'upside down and upright too');
});

test('picture rows: black zones found at both ends; an all-black frame gives none', () => {
    const rows = [0, 3, 12, 200, 90, 255, 41, 40, 5, 0];
    assert.deepEqual(pictureRows(rows), { top: 3, bottom: 7 });
    assert.equal(pictureRows([0, 10, 40, 2]), null);
    assert.deepEqual(pictureRows([90, 90]), { top: 0, bottom: 2 });
});

test('sphere band: full frame, wider frame and letterboxed 2:1 frame', () => {
    const full = sphereBand(1280, 640, null, 640);
    close(full.thetaStart, 0, 'full start');
    close(full.thetaLength, Math.PI, 'full length');
    // A 3:1 frame spans 2/3 of the half turn, centred on the horizon.
    const wide = sphereBand(1920, 640, null, 640);
    close(wide.thetaLength, (2 * Math.PI) / 3, 'wide length');
    close(wide.thetaStart, Math.PI / 6, 'wide start');
    close(wide.uvTop, 1, 'wide texture top');
    close(wide.uvBottom, 0, 'wide texture bottom');
    // The demo's black-areas clip: picture rows 107..533 of a 1280 x 640 frame,
    // sampled at the frame's own height.
    const boxed = sphereBand(1280, 640, { top: 107, bottom: 533 }, 640);
    close(boxed.thetaStart, (Math.PI * 107) / 640, 'boxed start');
    close(boxed.thetaLength, (Math.PI * 426) / 640, 'boxed length');
    close(boxed.uvTop, 1 - 107 / 640, 'boxed texture top');
    close(boxed.uvBottom, 1 - 533 / 640, 'boxed texture bottom');
    // Rows sampled at a lower resolution scale to the frame.
    const scaled = sphereBand(1280, 1280, { top: 180, bottom: 540 }, 720);
    close(scaled.uvTop, 0.75, 'scaled texture top');
    // A frame taller than 2:1 keeps the whole sphere.
    close(sphereBand(1000, 1000, null, 1000).thetaLength, Math.PI, 'tall frame');
});

test('time text and volume steps', () => {
    assert.equal(timeText(0), '00:00');
    assert.equal(timeText(9.99), '00:09');
    assert.equal(timeText(61), '01:01');
    assert.equal(timeText(4503), '75:03');
    assert.equal(timeText(Number.NaN), '00:00');
    assert.equal(timeText(Infinity), '00:00');
    assert.equal(volumeStep(0.5), 3);
    assert.equal(volumeStep(0), 0);
    assert.equal(volumeStep(1), 6);
    assert.equal(volumeStep(1.7), 6);
});

test('hot spot time window is [pos, pos + time)', () => {
    const hotSpot = { pos: 2.5, time: 3 };
    assert.equal(isShownAt(hotSpot, 2.49), false);
    assert.equal(isShownAt(hotSpot, 2.5), true);
    assert.equal(isShownAt(hotSpot, 5.49), true);
    assert.equal(isShownAt(hotSpot, 5.5), false);
});

test('hot spot links: web addresses followed, script addresses refused', () => {
    const base = 'http://127.0.0.1:8000/tv360_player.html';
    assert.equal(safeLink('https://example.org/a b', base), 'https://example.org/a%20b');
    assert.equal(safeLink('next.html', base), 'http://127.0.0.1:8000/next.html');
    assert.equal(safeLink('  mailto:a@b.c ', base), 'mailto:a@b.c');
    assert.equal(safeLink('javascript:alert(1)', base), null);
    assert.equal(safeLink(' JavaScript:alert(1)', base), null);
    assert.equal(safeLink('data:text/html,<b>x</b>', base), null);
    assert.equal(safeLink('', base), null);
});

test('options: the default configuration script reads as published', () => {
    const scope = {};
    declareHotSpotArrays(scope);
    Object.assign(scope, {
        fov: 120, OS_FPS: 15, nSegmentsWidth: 128, nSegmentsHeight: 128, vertmax: 90, lon: 0, lat: 0,
        RENDER_X: 550, RENDER_Y: 400, OS_VOLUME: 0.5, OS_STAT: 0, OS_MODE: 0, OS_COLOR: '#000000',
        mousespeed: 0.02, control_bar: 1, OS_CONTROL: 0, OS_WIN_POS_W: 'left', OS_WIN_POS_H: 'top',
        OS_FULL_SCREEN: 0, OS_SP2: 1, OS_BLOCK_FULL_SCREEN: 0, OS_HOTSPOTS: 1,
    });
    for (let i = 0; i < 10; ++i) {
        scope.HotSpotItem_pos[i] = 0;
        scope.HotSpotItem_time[i] = 0;
        scope.HotSpotItem_yaw[i] = 0;
        scope.HotSpotItem_title[i] = '';
        scope.HotSpotItem_link[i] = '';
        scope.HotSpotItem_self[i] = false;
    }
    scope.HotSpotItem_pos[1] = 12.5;
    scope.HotSpotItem_time[1] = 5;
    scope.HotSpotItem_yaw[1] = -90;
    scope.HotSpotItem_title[1] = 'L';
    scope.HotSpotItem_link[1] = 'L';
    scope.HotSpotItem_self[1] = true;
    const options = readOptions(scope);
    assert.equal(options.fov, 120);
    assert.equal(options.maxFps, 15);
    assert.equal(options.width, 550);
    assert.equal(options.compactControls, false);
    assert.equal(options.volume, 0.5);
    assert.equal(options.blackAreas, false);
    assert.deepEqual(options.hotSpots, [{ slot: 2, pos: 12.5, time: 5, yaw: -90, title: 'L', link: 'L', self: true }]);
});

test('options: out-of-range and missing values fall back or clamp', () => {
    const options = readOptions({
        fov: 200, vertmax: 'x', RENDER_X: 320, OS_COLOR: 'red', OS_WIN_POS_W: 'middle', OS_VOLUME: 3,
        HotSpotItem_pos: [1], HotSpotItem_link: ['go.html'], HotSpotItem_title: [''],
    });
    assert.equal(options.fov, 130);
    assert.equal(options.vertMax, 90);
    assert.equal(options.compactControls, true, 'a player narrower than 550 gets the compact panel');
    assert.equal(options.blackAreaColour, '#000000');
    assert.equal(options.alignX, 'left');
    assert.equal(options.volume, 1);
    assert.equal(options.hotSpots[0].title, 'go.html', 'an empty caption falls back to the link');
});

test('the sphere holds the vertices and triangles of three.js\'s, mirrored, with the band\'s texture rows from the top', () => {
    for (const [segments, band] of [[64, FULL_BAND], [128, sphereBand(1280, 640, { top: 107, bottom: 533 }, 640)]]) {
        const rows = Math.max(2, Math.round((segments * band.thetaLength) / Math.PI));
        const whole = new SphereGeometry(500, segments, rows, 0, 2 * Math.PI, band.thetaStart, band.thetaLength);
        const ours = sphereGeometry(segments, segments, band);
        const { position, uv } = whole.attributes;
        assert.equal(ours.positions.length, position.count * 3);
        for (let i = 0; i < position.count; ++i) {
            // Rows counted from the top: the texture is not flipped.
            const v = 1 - (band.uvBottom + uv.getY(i) * (band.uvTop - band.uvBottom));
            const expected = [-position.getX(i), position.getY(i), position.getZ(i), uv.getX(i), v];
            const actual = [...ours.positions.subarray(i * 3, i * 3 + 3), ...ours.uvs.subarray(i * 2, i * 2 + 2)];
            const off = actual.findIndex((value, k) => Math.abs(value - expected[k]) > 1e-3);
            assert.equal(off, -1, `${segments} segments, vertex ${i}: ${actual} vs ${expected}`);
        }
        assert.deepEqual([...ours.indices], [...whole.index.array]);
    }
});

test('video problems: none while the element has yet to try a source or is loading', () => {
    const video = (state) => ({ error: null, networkState: 2, readyState: 0, currentSrc: '', videoWidth: 0, videoHeight: 0, ...state });
    // Before the first source is tried the element reads NETWORK_NO_SOURCE too.
    assert.equal(videoProblem(video({ networkState: 3 })), null);
    assert.equal(videoProblem(video({ networkState: 3, currentSrc: 'http://h/v.mp4' })), 'source');
    assert.equal(videoProblem(video({ readyState: 1 })), 'picture');
    assert.equal(videoProblem(video({ readyState: 4, videoWidth: 2, videoHeight: 1 })), null);
    assert.deepEqual([2, 3, 4].map((code) => videoProblem(video({ error: { code } }))), ['network', 'decode', 'source']);
});

test('the page\'s view matrices are those of a three.js camera looking the same way', () => {
    for (const [lon, lat, fov, aspect] of [[0, 0, 120, 1.5], [170, 25, 70, 0.6], [-100, -89.5, 40, 2]]) {
        const camera = new PerspectiveCamera(fov, aspect, NEAR, FAR);
        const d = directionVector(lon, lat);
        camera.lookAt(new Vector3(d.x, d.y, d.z).multiplyScalar(500));
        camera.updateMatrixWorld();
        const pairs = [[lookMatrix(lon, lat), camera.matrixWorldInverse], [perspectiveMatrix(fov, aspect, NEAR, FAR), camera.projectionMatrix]];
        for (const [ours, theirs] of pairs) {
            const off = [...ours].findIndex((value, i) => Math.abs(value - theirs.elements[i]) > 1e-5);
            assert.equal(off, -1, `lon ${lon} lat ${lat} fov ${fov}: ${[...ours]} vs ${theirs.elements}`);
        }
    }
});

test('graphics set-up: waiters are called once the worker answers, or at once without workers', () => {
    const calls = [];
    const workers = [];
    const scope = {
        URL: { createObjectURL: () => 'blob:x', revokeObjectURL: () => {} },
        Blob: class {},
        Worker: class {
            constructor() {
                workers.push(this);
            }
        },
    };
    warmUpGraphics(scope);
    whenGraphicsWarm(scope, () => calls.push('first'));
    assert.deepEqual(calls, [], 'nothing before the worker answers');
    workers[0].onmessage({ data: true });
    workers[0].onmessage({ data: true });
    whenGraphicsWarm(scope, () => calls.push('later'));
    assert.deepEqual(calls, ['first', 'later']);
    const bare = {};
    warmUpGraphics(bare);
    whenGraphicsWarm(bare, () => calls.push('no workers'));
    assert.deepEqual(calls, ['first', 'later', 'no workers']);
});
