// Reads the configuration script's globals once, checked and clamped, so the rest
// of the player works from one plain object and never from loose globals.
import { HOT_SPOT_SLOTS } from './hotSpotArrays.js';

export const FOV_MIN = 40;
export const FOV_MAX = 130;

function numberOr(value, fallback) {
    const number = Number(value);
    return Number.isFinite(number) ? number : fallback;
}

function clamp(value, low, high) {
    return Math.min(high, Math.max(low, value));
}

function oneOf(value, allowed, fallback) {
    return allowed.includes(value) ? value : fallback;
}

function colourOr(value, fallback) {
    return typeof value === 'string' && /^#[0-9a-fA-F]{6}$/.test(value) ? value : fallback;
}

function readHotSpots(scope) {
    const hotSpots = [];
    for (let index = 0; index < HOT_SPOT_SLOTS; ++index) {
        const pos = numberOr(scope.HotSpotItem_pos?.[index], 0);
        if (!(pos > 0)) continue;
        const link = String(scope.HotSpotItem_link?.[index] ?? '');
        const title = String(scope.HotSpotItem_title?.[index] ?? '') || link;
        hotSpots.push({
            slot: index + 1,
            pos,
            time: Math.max(0, numberOr(scope.HotSpotItem_time?.[index], 0)),
            yaw: numberOr(scope.HotSpotItem_yaw?.[index], 0),
            title,
            link,
            self: scope.HotSpotItem_self?.[index] === true,
        });
    }
    return hotSpots;
}

export function readOptions(scope) {
    const renderX = Math.max(1, Math.round(numberOr(scope.RENDER_X, 550)));
    const segments = clamp(Math.round(numberOr(scope.nSegmentsWidth, 128)), 8, 512);
    const maxFps = clamp(numberOr(scope.OS_FPS, 15), 1, 240);
    return {
        fov: clamp(numberOr(scope.fov, 120), FOV_MIN, FOV_MAX),
        maxFps,
        segmentsWidth: segments,
        segmentsHeight: clamp(Math.round(numberOr(scope.nSegmentsHeight, segments)), 4, 512),
        vertMax: clamp(numberOr(scope.vertmax, 90), 0, 90),
        lon: numberOr(scope.lon, 0),
        lat: clamp(numberOr(scope.lat, 0), -90, 90),
        width: renderX,
        height: Math.max(1, Math.round(numberOr(scope.RENDER_Y, 400))),
        volume: clamp(numberOr(scope.OS_VOLUME, 0.5), 0, 1),
        showStats: numberOr(scope.OS_STAT, 0) === 1,
        blackAreas: numberOr(scope.OS_MODE, 0) === 1,
        blackAreaColour: colourOr(scope.OS_COLOR, '#000000'),
        mouseSpeed: clamp(numberOr(scope.mousespeed, 0.02), 0.001, 1),
        controlBar: numberOr(scope.control_bar, 1) === 1,
        compactControls: numberOr(scope.OS_CONTROL, 0) === 1 || renderX < 550,
        alignX: oneOf(scope.OS_WIN_POS_W, ['left', 'right', 'center'], 'left'),
        alignY: oneOf(scope.OS_WIN_POS_H, ['top', 'bottom', 'center'], 'top'),
        fillWindow: numberOr(scope.OS_FULL_SCREEN, 0) === 1,
        fullScreenLocked: numberOr(scope.OS_BLOCK_FULL_SCREEN, 0) === 1,
        hotSpots: readHotSpots(scope),
    };
}
