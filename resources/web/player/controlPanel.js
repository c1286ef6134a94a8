// The control panel under the view: play/pause, the progress bar with its
// buffered and played parts (click to seek), the time display, six volume steps
// and the full-screen switch.
import { placeElement } from './layout.js';
import { timeText } from './timeText.js';

export const VOLUME_STEPS = 6;
const HEIGHT = 30;
const COMPACT_HEIGHT = 24;

// The step shown lit for a volume: 0 (none lit) to VOLUME_STEPS.
export function volumeStep(volume) {
    return Math.round(Math.min(1, Math.max(0, volume)) * VOLUME_STEPS);
}

export class ControlPanel {
    constructor({ document, video, options, toggleFullScreen }) {
        this.document = document;
        this.video = video;
        this.get = (id) => document.getElementById(id);
        this.panel = this.get('controls');
        this.enabled = options.controlBar && Boolean(this.panel);
        this.compact = options.compactControls;
        this.locked = options.fullScreenLocked;
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
        for (const name of ['play', 'pause', 'timeupdate', 'durationchange', 'progress', 'volumechange', 'seeked', 'ended']) {
            video.addEventListener(name, () => this.refresh());
        }
        this.refresh();
    }

    get height() {
        if (!this.enabled) return 0;
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

    wireProgress() {
        const progress = this.get('progress');
        const total = this.get('total') ?? progress;
        if (!progress) return;
        progress.addEventListener('click', (event) => {
            const box = total.getBoundingClientRect();
            const duration = this.video.duration;
            if (!(box.width > 0) || !Number.isFinite(duration)) return;
            const fraction = Math.min(1, Math.max(0, (event.clientX - box.left) / box.width));
            this.video.currentTime = fraction * duration;
        });
    }

    wireVolume() {
        this.volumeItems.forEach((item, index) => {
            item.setAttribute('role', 'button');
            item.setAttribute('aria-label', `Volume ${Math.round(((index + 1) / VOLUME_STEPS) * 100)}%`);
            item.addEventListener('click', () => {
                this.video.volume = (index + 1) / VOLUME_STEPS;
                this.video.muted = false;
                this.refresh();
            });
        });
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

    refresh() {
        if (!this.enabled) return;
        const video = this.video;
        const play = this.get('play');
        if (play) {
            const playing = !video.paused && !video.ended;
            play.classList.toggle('play', !playing);
            play.classList.toggle('pause', playing);
        }
        const duration = Number.isFinite(video.duration) ? video.duration : 0;
        const percent = (seconds) => `${duration > 0 ? Math.min(100, (seconds / duration) * 100) : 0}%`;
        const buffered = video.buffered.length ? video.buffered.end(video.buffered.length - 1) : 0;
        const bufferedBar = this.get('buffered');
        const currentBar = this.get('current');
        if (bufferedBar) bufferedBar.style.width = percent(buffered);
        if (currentBar) currentBar.style.width = percent(video.currentTime);
        const current = this.get('current_time_display');
        const total = this.get('duration_display');
        if (current) current.textContent = timeText(video.currentTime);
        if (total) total.textContent = timeText(duration);
        const lit = video.muted ? 0 : volumeStep(video.volume);
        this.volumeItems.forEach((item, index) => item.classList.toggle('on', index < lit));
    }

    layout(rect) {
        if (!this.enabled) return;
        placeElement(this.panel, rect.left, rect.top + rect.height - this.height, rect.width, this.height);
    }
}
