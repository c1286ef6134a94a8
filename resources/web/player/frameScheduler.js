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

    // Milliseconds until a draw may be allowed again (0: now).
    waitFrom(now) {
        const full = this.recent.length >= this.maxFps ? this.recent[0] + 1000 + WINDOW_MARGIN_MS - now : 0;
        return Math.max(0, this.nextDue - now, full);
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
        this.waiting = 0;
        this.lastTick = 0;
        this.tick = (now) => this.onFrame(now);
        window.document.addEventListener('visibilitychange', () => this.wake());
    }

    // Something visible changed: draw it at the next allowed frame.
    invalidate() {
        this.dirty = true;
        this.wake();
    }

    // Draws at once when the cap allows (the first video picture should not wait
    // for the next animation frame), otherwise at the next allowed frame.
    drawNow() {
        const now = this.window.performance.now();
        if (this.window.document.hidden) {
            this.invalidate();
            return;
        }
        if (!this.limiter.mayDraw(now)) {
            this.dirty = true;
            this.sleepUntilAllowed(now);
            return;
        }
        this.dirty = false;
        this.limiter.recordDraw(now);
        this.draw();
    }

    // Sleeps until the cap allows the next draw instead of asking for every
    // animation frame in between, which would cost the page a frame each time.
    sleepUntilAllowed(now) {
        if (this.pending || this.waiting) return;
        this.waiting = this.window.setTimeout(() => {
            this.waiting = 0;
            this.wake();
        }, this.limiter.waitFrom(now));
    }

    wake() {
        if (this.pending || this.waiting || this.window.document.hidden) return;
        this.pending = this.window.requestAnimationFrame(this.tick);
    }

    onFrame(now) {
        this.pending = 0;
        if (this.window.document.hidden) return;
        const seconds = this.lastTick ? (now - this.lastTick) / 1000 : 0;
        this.lastTick = now;
        const animating = this.advance(seconds);
        if (!this.dirty && !animating) {
            this.lastTick = 0;
            return;
        }
        if (this.limiter.mayDraw(now)) {
            this.dirty = false;
            this.limiter.recordDraw(now);
            this.draw();
            if (animating) this.wake();
            return;
        }
        this.sleepUntilAllowed(now);
    }
}
