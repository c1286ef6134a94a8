// Decides when a frame is drawn: only when something changed (a new video frame,
// input, panning, a resize), never while the page is hidden, and never more than
// maxFps times in any one second.

// A frame is drawn a little after the moment it was decided on (the video
// picture is uploaded first), by an amount that varies; the cap keeps this much
// to spare so that it also holds for the moments the frames reach the screen.
const WINDOW_MARGIN_MS = 20;

export class DrawLimiter {
    constructor(maxFps) {
        this.maxFps = Math.max(1, Math.floor(maxFps));
        this.interval = 1000 / this.maxFps;
        this.nextDue = -Infinity;
        // Times of the last maxFps draws: the hard cap over any one-second window.
        this.recent = [];
    }

    mayDraw(now) {
        if (now < this.nextDue) return false;
        return this.recent.length < this.maxFps || now - this.recent[0] >= 1000 + WINDOW_MARGIN_MS;
    }

    recordDraw(now) {
        // Keep an even rhythm, but do not let a late frame build up a backlog.
        this.nextDue = Math.max(this.nextDue + this.interval, now - this.interval / 2);
        this.recent.push(now);
        if (this.recent.length > this.maxFps) this.recent.shift();
    }
}

export class FrameScheduler {
    constructor({ window, maxFps, draw, advance }) {
        this.window = window;
        this.limiter = new DrawLimiter(maxFps);
        this.draw = draw;
        this.advance = advance;
        this.dirty = true;
        this.pending = 0;
        this.lastTick = 0;
        this.tick = (now) => this.onFrame(now);
        window.document.addEventListener('visibilitychange', () => this.wake());
    }

    // Something visible changed: draw it at the next allowed frame.
    invalidate() {
        this.dirty = true;
        this.wake();
    }

    wake() {
        if (this.pending || this.window.document.hidden) return;
        this.pending = this.window.requestAnimationFrame(this.tick);
    }

    onFrame(now) {
        this.pending = 0;
        if (this.window.document.hidden) return;
        const seconds = this.lastTick ? (now - this.lastTick) / 1000 : 0;
        this.lastTick = now;
        const animating = this.advance(seconds);
        if ((this.dirty || animating) && this.limiter.mayDraw(now)) {
            this.dirty = false;
            this.limiter.recordDraw(now);
            this.draw();
        }
        if (this.dirty || animating) {
            this.wake();
        } else {
            this.lastTick = 0;
        }
    }
}
