// Hot spots: each used slot's image stands over its direction on the horizon
// while the video time lies in [pos, pos + time), with its caption under it.
// The indicator check_hs goes beside the first hot spot shown. Captions never
// cover each other: the one farther from the view's centre moves a line down, or
// stays hidden when that place is taken too.
import { hotSpotLon } from './directions.js';
import { HOT_SPOT_SLOTS } from './hotSpotArrays.js';
import { boxesOverlap, hideElement, placeElement, shownWidth } from './layout.js';

const ICON_SIZE = 52;
const CHECK_SIZE = 48;
const CAPTION_GAP = 2;
// The caption's line height and padding in the style sheet.
const CAPTION_HEIGHT = 18;
const CAPTION_LINES = 2;
// Addresses that would run code in the player's page instead of leading away.
const REFUSED_PROTOCOLS = new Set(['javascript:', 'data:', 'vbscript:', 'blob:']);

export function isShownAt(hotSpot, seconds) {
    return seconds >= hotSpot.pos && seconds < hotSpot.pos + hotSpot.time;
}

// The address a hot spot leads to, or null when it must not be followed.
export function safeLink(link, baseUrl) {
    const text = String(link).trim();
    if (!text) return null;
    try {
        const url = new URL(text, baseUrl);
        return REFUSED_PROTOCOLS.has(url.protocol) ? null : url.href;
    } catch {
        return null;
    }
}

export class HotSpots {
    constructor({ document, window, hotSpots }) {
        this.window = window;
        this.check = document.getElementById('check_hs');
        this.bySlot = new Map();
        this.entries = [];
        for (const hotSpot of hotSpots) {
            const image = document.getElementById(`hs${hotSpot.slot}`);
            if (!image) continue;
            const caption = document.createElement('div');
            caption.className = 'qm-caption';
            caption.textContent = hotSpot.title;
            caption.setAttribute('aria-hidden', 'true');
            document.body.appendChild(caption);
            hideElement(caption);
            this.prepareImage(image, hotSpot);
            const entry = { hotSpot, image, caption, lon: hotSpotLon(hotSpot.yaw) };
            this.entries.push(entry);
            this.bySlot.set(hotSpot.slot, entry);
        }
        // The slots no hot spot uses stay out of the page's layout for good.
        for (let slot = 1; slot <= HOT_SPOT_SLOTS; ++slot) {
            const image = document.getElementById(`hs${slot}`);
            if (image && !this.bySlot.has(slot)) hideElement(image);
        }
    }

    prepareImage(image, hotSpot) {
        // The page loads its pictures once placed; a used slot's picture is
        // wanted at once (a headset draws it without placing it).
        image.loading = 'eager';
        image.title = hotSpot.title;
        image.alt = hotSpot.title;
        image.draggable = false;
        image.setAttribute('role', 'link');
        image.setAttribute('aria-label', hotSpot.title);
        image.tabIndex = -1;
        image.addEventListener('keydown', (event) => {
            if (event.key !== 'Enter' && event.key !== ' ') return;
            event.preventDefault();
            this.follow(hotSpot.slot);
        });
    }

    // Follows the link of a shown hot spot: in this window when self is set,
    // otherwise in a new one.
    follow(slot) {
        const entry = this.bySlot.get(slot);
        if (entry?.shown) this.open(entry);
    }

    open(entry) {
        const href = safeLink(entry.hotSpot.link, this.window.location.href);
        if (!href) return;
        if (entry.hotSpot.self) {
            this.window.location.assign(href);
        } else {
            this.window.open(href, '_blank', 'noopener');
        }
    }

    // Places every hot spot for the current view and video time.
    update({ seconds, rect, project }) {
        const shown = [];
        for (const entry of this.entries) {
            const point = isShownAt(entry.hotSpot, seconds) ? project(entry.lon, 0) : null;
            const inside =
                point && point.x >= 0 && point.x <= rect.width && point.y >= 0 && point.y <= rect.height;
            if (!inside) {
                this.hide(entry);
                continue;
            }
            const left = rect.left + point.x - ICON_SIZE / 2;
            const top = rect.top + point.y - ICON_SIZE / 2;
            placeElement(entry.image, left, top, ICON_SIZE, ICON_SIZE);
            this.setReachable(entry, true);
            shown.push({ entry, left, top, fromCentre: Math.abs(point.x - rect.width / 2) });
        }
        this.placeCaptions(shown);
        if (!this.check) return;
        if (shown.length) {
            const first = shown[0];
            placeElement(this.check, first.left + ICON_SIZE, first.top - CHECK_SIZE / 2, CHECK_SIZE, CHECK_SIZE);
            this.checkHidden = false;
        } else if (!this.checkHidden) {
            hideElement(this.check);
            this.checkHidden = true;
        }
    }

    placeCaptions(shown) {
        const taken = [];
        for (const { entry, left, top } of [...shown].sort((a, b) => a.fromCentre - b.fromCentre)) {
            // Measured once: a caption's text never changes.
            entry.captionWidth ??= shownWidth(entry.caption);
            const centre = left + ICON_SIZE / 2;
            let box = null;
            for (let line = 0; line < CAPTION_LINES && !box; ++line) {
                const candidate = {
                    left: centre - entry.captionWidth / 2,
                    top: top + ICON_SIZE + CAPTION_GAP + line * (CAPTION_HEIGHT + CAPTION_GAP),
                    width: entry.captionWidth,
                    height: CAPTION_HEIGHT,
                };
                if (!taken.some((other) => boxesOverlap(candidate, other))) box = candidate;
            }
            if (!box) {
                hideElement(entry.caption);
                continue;
            }
            taken.push(box);
            placeElement(entry.caption, centre, box.top);
        }
    }

    // Runs for every drawn frame: a hidden hot spot is left alone.
    hide(entry) {
        if (entry.shown === false) return;
        hideElement(entry.image);
        hideElement(entry.caption);
        this.setReachable(entry, false);
    }

    // Focus and the screen reader follow what is shown; the attributes are
    // written only when that changes, as each write is work for the page.
    setReachable(entry, shown) {
        if (entry.shown === shown) return;
        entry.shown = shown;
        entry.image.tabIndex = shown ? 0 : -1;
        entry.image.setAttribute('aria-hidden', shown ? 'false' : 'true');
    }

    get anyTimed() {
        return this.entries.length > 0;
    }
}
