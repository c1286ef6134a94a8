// Looking around by moving a phone or tablet: the view follows the device's
// orientation sensors, on top of what dragging does. Browsers that ask for
// permission first get it asked from a tap on the gyroscope button, which also
// turns the following off and on.
import { Euler, Quaternion, Vector3 } from 'three';
import { wrapDegrees } from './directions.js';

const DEG = Math.PI / 180;
// A device lying flat looks down; a quarter turn about x stands its camera up.
const STAND_UP = new Quaternion(-Math.sqrt(0.5), 0, 0, Math.sqrt(0.5));
const SCREEN_AXIS = new Vector3(0, 0, 1);
// After permission is granted, sensors that stay silent this long are absent.
const SILENT_SENSOR_MS = 3000;
const ICON =
    '<svg viewBox="0 0 24 24" width="70%" height="70%" aria-hidden="true" fill="none" stroke="currentColor" stroke-width="1.8">' +
    '<rect x="8" y="4" width="8" height="16" rx="1.5"/><path d="M4.5 8.5a9 9 0 0 0 0 7M19.5 8.5a9 9 0 0 1 0 7"/></svg>';

// Where a device held at these angles (degrees, as deviceorientation reports
// them) looks, as lon and lat of the player's frame; lon is only known up to a
// turn about the vertical, since alpha's zero is arbitrary.
export function deviceDirection(alpha, beta, gamma, screenAngle) {
    const turn = new Quaternion().setFromEuler(new Euler(beta * DEG, alpha * DEG, -gamma * DEG, 'YXZ'));
    turn.multiply(STAND_UP);
    turn.multiply(new Quaternion().setFromAxisAngle(SCREEN_AXIS, -screenAngle * DEG));
    const forward = new Vector3(0, 0, -1).applyQuaternion(turn);
    return {
        lon: Math.atan2(-forward.z, -forward.x) / DEG,
        lat: Math.asin(Math.max(-1, Math.min(1, forward.y))) / DEG,
    };
}

function screenAngle(window) {
    return window.screen?.orientation?.angle ?? window.orientation ?? 0;
}

export class DeviceOrientationView {
    constructor({ window, view, touch, onShow }) {
        this.window = window;
        this.view = view;
        this.onShow = onShow;
        this.following = false;
        // The viewer's own choice wins over the sensors' arrival.
        this.turnedOff = false;
        this.last = null;
        this.button = this.makeButton(window.document);
        const Event = window.DeviceOrientationEvent;
        this.askFirst = typeof Event?.requestPermission === 'function';
        window.addEventListener('deviceorientation', (event) => this.onOrientation(event));
        // Where the browser asks before it reports anything, the button is the
        // only way to start, so touch screens get it from the start.
        if (this.askFirst && touch) this.button.hidden = false;
    }

    makeButton(document) {
        const button = document.createElement('button');
        button.type = 'button';
        button.id = 'qm-gyro';
        button.className = 'qm-tool';
        button.title = 'Gyroscope';
        button.setAttribute('aria-label', 'Follow the device\u2019s movement');
        button.setAttribute('aria-pressed', 'false');
        button.innerHTML = ICON;
        button.hidden = true;
        button.addEventListener('click', () => this.toggle());
        document.body.appendChild(button);
        return button;
    }

    show() {
        if (!this.button.hidden) return;
        this.button.hidden = false;
        this.onShow();
    }

    setFollowing(following) {
        this.following = following;
        this.last = null;
        this.button.setAttribute('aria-pressed', String(following));
    }

    async toggle() {
        if (this.following) {
            this.turnedOff = true;
            this.setFollowing(false);
            return;
        }
        this.turnedOff = false;
        if (this.askFirst && !this.granted) {
            // Asked inside the tap's handler: browsers allow the prompt only there.
            const answer = await this.window.DeviceOrientationEvent.requestPermission().catch(() => 'denied');
            this.granted = answer === 'granted';
            if (!this.granted) return;
            this.expectSensors();
        }
        this.setFollowing(true);
    }

    expectSensors() {
        this.window.setTimeout(() => {
            if (this.sensed) return;
            this.setFollowing(false);
            this.button.hidden = true;
            this.onShow();
        }, SILENT_SENSOR_MS);
    }

    onOrientation(event) {
        if (event.alpha == null || event.beta == null || event.gamma == null) return;
        if (!this.sensed) {
            this.sensed = true;
            this.show();
            if (!this.turnedOff) this.setFollowing(true);
        }
        if (!this.following) return;
        const now = deviceDirection(event.alpha, event.beta, event.gamma, screenAngle(this.window));
        // Only the device's movement since the last report turns the view, so
        // dragging keeps working in between.
        if (this.last) this.view.turnBy(wrapDegrees(now.lon - this.last.lon), now.lat - this.last.lat);
        this.last = now;
    }
}
