// The control panel under the view: play/pause, the progress bar with its
// buffered and played parts (click, drag or arrow keys to seek), the time
// display, six volume steps and the full-screen switch.
import { TOUCH_TARGET, placeElement } from './layout.js';
import { timeText } from './timeText.js';

export const VOLUME_STEPS = 6;
const HEIGHT = 30;
const COMPACT_HEIGHT = 24;
// Below this width the panel drops the time display and tightens up.
const COMPACT_BELOW = 550;
const SEEK_STEP_SECONDS = 5;
const BAR_STEPS_PER_SECOND = 1;

// The step shown lit for a volume: 0 (none lit) to VOLUME_STEPS.
export function volumeStep(volume) {
    return Math.round(Math.min(1, Math.max(0, volume)) * VOLUME_STEPS);
}

// The step a press at this fraction of the volume control's width chooses.
export function stepAt(fraction) {
    return Math.min(VOLUME_STEPS, Math.max(1, Math.ceil(fraction * VOLUME_STEPS)));
}

function fractionAcross(element, event) {
    const box = element.getBoundingClientRect();
    return box.width > 0 ? Math.min(1, Math.max(0, (event.clientX - box.left) / box.width)) : 0;
}

// Keys, pointer presses and drags of a slider: `onFraction` gets a pointer's
// place across `measure`, `onKey` an arrow key (+1 or -1) or 'start' / 'end'.
function wireSlider(element, { label, measure = element, onFraction, onKey }) {
    element.setAttribute('role', 'slider');
    element.setAttribute('aria-label', label);
    element.tabIndex = 0;
    const keys = { ArrowRight: 1, ArrowUp: 1, ArrowLeft: -1, ArrowDown: -1, Home: 'start', End: 'end' };
    element.addEventListener('keydown', (event) => {
        if (!(event.key in keys)) return;
        event.preventDefault();
        event.stopPropagation();
        onKey(keys[event.key]);
    });
    element.addEventListener('pointerdown', (event) => {
        if (event.button > 0) return;
        try {
            element.setPointerCapture?.(event.pointerId);
        } catch {
            // A pointer the browser no longer knows: the drag works without capture.
        }
        onFraction(fractionAcross(measure, event));
        const move = (moved) => onFraction(fractionAcross(measure, moved));
        const end = () => {
            element.removeEventListener('pointermove', move);
            element.removeEventListener('pointerup', end);
            element.removeEventListener('pointercancel', end);
        };
        element.addEventListener('pointermove', move);
        element.addEventListener('pointerup', end);
        element.addEventListener('pointercancel', end);
    });
}

export class ControlPanel {
    constructor({ document, video, options, toggleFullScreen }) {
        this.document = document;
        this.video = video;
        this.get = (id) => document.getElementById(id);
        this.panel = this.get('controls');
        this.enabled = options.controlBar && Boolean(this.panel);
        this.publishedCompact = options.compactControls;
        this.compact = options.compactControls;
        this.touch = false;
        this.locked = options.fullScreenLocked;
        this.duration = 0;
        // What the panel shows, so that only changes reach the page.
        this.shown = {};
        if (!this.panel) return;
        if (!this.enabled) {
            this.panel.style.display = 'none';
            return;
        }
        this.panel.classList.toggle('compact', this.compact);
        this.volumeItems = [...(this.get('volume_display')?.children ?? [])];
        this.wirePlay();
        this.wireProgress();
        this.wireVolume();
        this.wireFullScreen(toggleFullScreen);
        // While the video plays the player refreshes the panel with each drawn
        // frame; these are the changes that come without one.
        for (const name of ['play', 'pause', 'durationchange', 'progress', 'volumechange', 'seeked', 'ended']) {
            video.addEventListener(name, () => this.refresh());
        }
        this.refresh();
    }

    get height() {
        if (!this.enabled) return 0;
        if (this.touch) return TOUCH_TARGET;
        return this.compact ? COMPACT_HEIGHT : HEIGHT;
    }

    makeKeyboardButton(element, label, action) {
        element.setAttribute('role', 'button');
        element.setAttribute('aria-label', label);
        element.tabIndex = 0;
        element.addEventListener('click', action);
        element.addEventListener('keydown', (event) => {
            if (event.key !== 'Enter' && event.key !== ' ') return;
            event.preventDefault();
            event.stopPropagation();
            action();
        });
    }

    wirePlay() {
        const play = this.get('play');
        if (!play) return;
        this.makeKeyboardButton(play, play.title || 'Play/Pause', () => this.togglePlay());
    }

    togglePlay() {
        if (this.video.paused || this.video.ended) {
            this.video.play().catch(() => {});
        } else {
            this.video.pause();
        }
        // The paused flag changes at once while its event comes later: show it now.
        this.refresh();
    }

    seekTo(seconds) {
        const duration = this.video.duration;
        if (!Number.isFinite(duration)) return;
        this.video.currentTime = Math.min(duration, Math.max(0, seconds));
        this.refresh();
    }

    wireProgress() {
        const progress = this.get('progress');
        if (!progress) return;
        progress.setAttribute('aria-valuemin', '0');
        progress.addEventListener('focus', () => this.describePosition());
        wireSlider(progress, {
            label: 'Position',
            // The bar, not the time display beside it, stands for the video.
            measure: this.get('total') ?? progress,
            onFraction: (fraction) => this.seekTo(fraction * this.video.duration),
            onKey: (key) => {
                if (key === 'start') this.seekTo(0);
                else if (key === 'end') this.seekTo(this.video.duration);
                else this.seekTo(this.video.currentTime + key * SEEK_STEP_SECONDS);
            },
        });
    }

    setVolumeStep(step) {
        const clamped = Math.min(VOLUME_STEPS, Math.max(0, step));
        this.video.volume = clamped / VOLUME_STEPS;
        if (clamped > 0) this.video.muted = false;
        this.refresh();
    }

    wireVolume() {
        const volume = this.get('volume');
        if (!volume) return;
        wireSlider(volume, {
            label: volume.title || 'Volume',
            onFraction: (fraction) => this.setVolumeStep(stepAt(fraction)),
            onKey: (key) => {
                const now = this.video.muted ? 0 : volumeStep(this.video.volume);
                this.setVolumeStep(key === 'start' ? 0 : key === 'end' ? VOLUME_STEPS : now + key);
            },
        });
        volume.setAttribute('aria-valuemin', '0');
        volume.setAttribute('aria-valuemax', String(VOLUME_STEPS));
    }

    wireFullScreen(toggleFullScreen) {
        const button = this.get('full_screen');
        if (!button) return;
        if (this.locked) {
            button.classList.add('locked');
            button.setAttribute('aria-disabled', 'true');
        }
        this.makeKeyboardButton(button, button.title || 'Full screen', () => {
            if (!this.locked) toggleFullScreen();
        });
    }

    // Sets an element's property only when it changes; the panel is refreshed
    // several times a second and most of the time nothing it shows has moved.
    show(key, value, apply) {
        if (this.shown[key] === value) return;
        this.shown[key] = value;
        apply(value);
    }

    // Everything the panel shows; on the video's state changes.
    refresh() {
        if (!this.enabled) return;
        const video = this.video;
        const playing = !video.paused && !video.ended;
        this.show('playing', playing, () => {
            const play = this.get('play');
            play?.classList.toggle('play', !playing);
            play?.classList.toggle('pause', playing);
        });
        this.duration = Number.isFinite(video.duration) ? video.duration : 0;
        const buffered = video.buffered.length ? video.buffered.end(video.buffered.length - 1) : 0;
        this.showBar('buffered', buffered);
        const total = timeText(this.duration);
        this.show('total', total, () => {
            const element = this.get('duration_display');
            if (element) element.textContent = total;
            // A fixed width keeps the ticking time from laying out the panel.
            const display = this.get('play_time');
            if (display) display.style.width = `${2 * total.length + 3}ch`;
        });
        const lit = video.muted ? 0 : volumeStep(video.volume);
        this.show('lit', lit, () => {
            this.volumeItems.forEach((item, index) => item.classList.toggle('on', index < lit));
            this.get('volume')?.setAttribute('aria-valuenow', String(lit));
        });
        this.refreshTime();
    }

    // What moves with the playing video; the player calls it for every frame.
    refreshTime() {
        if (!this.enabled) return;
        const seconds = this.video.currentTime;
        // While playing, the played part moves in steps of a second, with the
        // time display: each step is work for the page, and finer steps would
        // mean some with every frame. A still video shows its exact place.
        const step = this.video.paused ? seconds : Math.floor(seconds * BAR_STEPS_PER_SECOND) / BAR_STEPS_PER_SECOND;
        this.showBar('current', step);
        const now = timeText(seconds);
        this.show('now', now, () => {
            const text = this.get('current_time_display')?.firstChild;
            if (text) text.nodeValue = now;
            // Read out when the bar has focus; kept current only then.
            if (this.document.activeElement === this.get('progress')) this.describePosition();
        });
    }

    describePosition() {
        const progress = this.get('progress');
        const seconds = this.video.currentTime;
        progress?.setAttribute('aria-valuemax', String(Math.floor(this.duration)));
        progress?.setAttribute('aria-valuenow', String(Math.floor(seconds)));
        progress?.setAttribute('aria-valuetext', `${timeText(seconds)} / ${timeText(this.duration)}`);
    }

    // Scaling instead of resizing the bars spares the page a layout each time.
    showBar(id, seconds) {
        const fraction = this.duration > 0 ? Math.round(Math.min(1, Math.max(0, seconds / this.duration)) * 1e4) / 1e4 : 0;
        this.show(id, fraction, () => {
            const bar = this.get(id);
            if (bar) bar.style.transform = `scaleX(${fraction})`;
        });
    }

    layout(rect, touch) {
        if (!this.enabled) return;
        this.touch = touch;
        this.compact = this.publishedCompact || rect.width < COMPACT_BELOW;
        this.panel.classList.toggle('compact', this.compact);
        placeElement(this.panel, rect.left, rect.top + rect.height - this.height, rect.width, this.height);
    }
}
