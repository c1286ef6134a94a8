// Where the viewer looks: lon, lat and the field of view, kept within their
// limits, plus the continuous panning started by the pan buttons.
import { FOV_MAX, FOV_MIN } from './options.js';
import { wrapDegrees } from './directions.js';

// Just short of the pole, where the look-at direction would lose its "up".
const POLE_MARGIN = 0.5;
export const PAN_DEGREES_PER_SECOND = 30;
export const KEY_STEP_DEGREES = 5;
export const ZOOM_STEP_DEGREES = 10;

export class ViewState {
    constructor({ lon, lat, fov, vertMax }) {
        this.latLimit = Math.min(vertMax, 90 - POLE_MARGIN);
        this.lon = wrapDegrees(lon);
        this.lat = this.clampLat(lat);
        this.fov = clampFov(fov);
        this.pan = { lon: 0, lat: 0 };
        this.onChange = () => {};
    }

    clampLat(lat) {
        return Math.min(this.latLimit, Math.max(-this.latLimit, lat));
    }

    lookTo(lon, lat) {
        const nextLon = wrapDegrees(lon);
        const nextLat = this.clampLat(lat);
        if (nextLon === this.lon && nextLat === this.lat) return;
        this.lon = nextLon;
        this.lat = nextLat;
        this.onChange();
    }

    turnBy(dLon, dLat) {
        this.lookTo(this.lon + dLon, this.lat + dLat);
    }

    zoomTo(fov) {
        const next = clampFov(fov);
        if (next === this.fov) return;
        this.fov = next;
        this.onChange();
    }

    zoomBy(dFov) {
        this.zoomTo(this.fov + dFov);
    }

    startPanning(lonSign, latSign) {
        this.pan = { lon: lonSign, lat: latSign };
        this.onChange();
    }

    stopPanning() {
        this.pan = { lon: 0, lat: 0 };
    }

    get isPanning() {
        return this.pan.lon !== 0 || this.pan.lat !== 0;
    }

    // Advances the panning by the time since the last frame.
    advance(seconds) {
        if (!this.isPanning) return;
        const step = PAN_DEGREES_PER_SECOND * Math.min(seconds, 0.25);
        this.turnBy(this.pan.lon * step, this.pan.lat * step);
    }
}

function clampFov(fov) {
    return Math.min(FOV_MAX, Math.max(FOV_MIN, fov));
}
