// The page's image buttons: the pan and zoom row, restart, the two mute buttons,
// the About picture, the title panel and the player's own tool buttons beside
// them. The page swaps the normal and hover pictures itself; the player shows the
// pressed ("D") picture while a button is held, and lets the keyboard press them.
import { TOUCH_TARGET, hideElement, placeElement } from './layout.js';

const ROW = ['leftBT', 'upBT', 'stopBT', 'downBT', 'rightBT', 'zoominBT', 'zoomoutBT', 'restartBT'];
const PRESSED_PICTURES = {
    leftBT: 'images/leftD.png',
    upBT: 'images/upD.png',
    stopBT: 'images/stopD.png',
    downBT: 'images/downD.png',
    rightBT: 'images/rightD.png',
    zoominBT: 'images/zoominD.png',
    zoomoutBT: 'images/zoomoutD.png',
    restartBT: 'images/restartD.png',
};
const BUTTON_WIDTH = 75;
const BUTTON_HEIGHT = 70;
const TITLE_WIDTH = 480;
const TITLE_HEIGHT = 100;
const MUTE_SIZE = 20;
const ABOUT_SIZE = 40;
// The Stats.js panel's size in the top left corner.
const STATS_WIDTH = 80;
const STATS_HEIGHT = 48;
const GAP = 4;
const TOUCH_GAP = 2;
const MARGIN = 8;
const TITLE_FADE_MS = 600;

export function showPressed(element) {
    const picture = element && PRESSED_PICTURES[element.id];
    if (picture) element.src = picture;
}

// Size and arrangement of the pan and zoom row: as large as the player's width
// allows, never above two thirds of the pictures' size so the row leaves most of
// the view free; on touch screens never below a finger's size (the pictures keep
// their shape inside), in two rows where one row of that size does not fit.
export function rowLayout(width, touch) {
    const gap = touch ? TOUCH_GAP : GAP;
    const room = width - 2 * MARGIN - (ROW.length - 1) * gap;
    const scale = Math.max(0.3, Math.min(2 / 3, room / (ROW.length * BUTTON_WIDTH)));
    const size = { width: BUTTON_WIDTH * scale, height: BUTTON_HEIGHT * scale, gap, perRow: ROW.length };
    if (!touch) return size;
    size.width = Math.max(TOUCH_TARGET, Math.min(size.width, room / ROW.length));
    size.height = Math.max(TOUCH_TARGET, size.height);
    const fits = Math.max(1, Math.floor((width - 2 * MARGIN + gap) / (size.width + gap)));
    const rows = Math.ceil(ROW.length / Math.min(ROW.length, fits));
    return { ...size, perRow: Math.ceil(ROW.length / rows) };
}

// Enter and Space press an image button as a click would.
function pressWithKeys(element) {
    element.tabIndex = 0;
    element.addEventListener('keydown', (event) => {
        if (event.key !== 'Enter' && event.key !== ' ') return;
        event.preventDefault();
        element.dispatchEvent(new MouseEvent('mousedown', { bubbles: true }));
        element.dispatchEvent(new MouseEvent('mouseup', { bubbles: true }));
    });
}

export class Buttons {
    constructor(document) {
        this.document = document;
        this.titleShown = true;
        this.muted = false;
        this.unmuteWanted = false;
        this.touch = false;
        // The player's own buttons (gyroscope, VR), right to left after mute.
        this.tools = [];
        for (const id of [...ROW, 'muteON', 'muteOFF', 'titlePN', 'ab']) {
            const element = document.getElementById(id);
            if (element) element.draggable = false;
        }
        for (const id of [...ROW, 'muteON', 'muteOFF', 'ab']) {
            const element = document.getElementById(id);
            if (!element) continue;
            element.setAttribute('role', id === 'ab' ? 'link' : 'button');
            element.setAttribute('aria-label', element.title || id);
            pressWithKeys(element);
        }
    }

    element(id) {
        return this.document.getElementById(id);
    }

    // The title panel fades out and then leaves the page.
    hideTitle() {
        if (!this.titleShown) return;
        this.titleShown = false;
        const title = this.element('titlePN');
        if (!title) return;
        title.classList.add('qm-fading');
        setTimeout(() => {
            hideElement(title);
            title.classList.remove('qm-fading');
        }, TITLE_FADE_MS);
    }

    setMuted(muted, unmuteWanted) {
        this.muted = muted;
        this.unmuteWanted = muted && unmuteWanted;
    }

    addTool(element, width) {
        this.tools.push({ element, width });
    }

    layout(rect, bottomReserved, touch) {
        this.touch = touch;
        const row = rowLayout(rect.width, touch);
        const rows = Math.ceil(ROW.length / row.perRow);
        const bottom = rect.top + rect.height - bottomReserved - MARGIN;
        ROW.forEach((id, index) => {
            const element = this.element(id);
            if (!element) return;
            const line = Math.floor(index / row.perRow);
            const column = index % row.perRow;
            const inLine = Math.min(row.perRow, ROW.length - line * row.perRow);
            const lineLeft = rect.left + (rect.width - (inLine * row.width + (inLine - 1) * row.gap)) / 2;
            const top = bottom - (rows - line) * row.height - (rows - line - 1) * row.gap;
            placeElement(element, lineLeft + column * (row.width + row.gap), top, row.width, row.height);
        });
        const cornerRight = this.layoutCorner(rect);
        this.layoutTitle(rect, cornerRight);
    }

    // About, mute and the tools along the top right corner; returns the left
    // edge of what it placed.
    layoutCorner(rect) {
        const touch = this.touch;
        const top = rect.top + MARGIN;
        let right = rect.left + rect.width - MARGIN;
        const about = this.element('ab');
        const aboutSize = touch ? TOUCH_TARGET : ABOUT_SIZE;
        if (about) {
            placeElement(about, right - aboutSize, top, aboutSize, aboutSize);
            right -= aboutSize + MARGIN;
        }
        const middle = top + (about ? aboutSize : MUTE_SIZE) / 2;
        right = this.layoutMute(rect, right, middle);
        const toolHeight = touch ? TOUCH_TARGET : 2 * MUTE_SIZE;
        for (const tool of this.tools) {
            if (tool.element.hidden) continue;
            const width = tool.width(toolHeight);
            placeElement(tool.element, right - width, middle - toolHeight / 2, width, toolHeight);
            right -= width + MARGIN;
        }
        return right;
    }

    layoutMute(rect, right, middle) {
        const shown = this.element(this.muted ? 'muteOFF' : 'muteON');
        const hidden = this.element(this.muted ? 'muteON' : 'muteOFF');
        if (hidden) {
            hideElement(hidden);
            hidden.classList.remove('qm-attention');
        }
        if (!shown) return right;
        const size = this.touch ? TOUCH_TARGET : this.unmuteWanted ? 2 * MUTE_SIZE : MUTE_SIZE;
        placeElement(shown, right - size, Math.max(rect.top + MARGIN / 2, middle - size / 2), size, size);
        shown.classList.toggle('qm-attention', this.unmuteWanted);
        return right - size - MARGIN;
    }

    layoutTitle(rect, cornerLeft) {
        const title = this.element('titlePN');
        if (!title) return;
        if (!this.titleShown) {
            if (!title.classList.contains('qm-fading')) hideElement(title);
            return;
        }
        const scale = Math.min(1, (rect.width * 0.7) / TITLE_WIDTH);
        const width = TITLE_WIDTH * scale;
        const left = rect.left + (rect.width - width) / 2;
        // In a narrow player the panel goes under the corner pictures (About,
        // mute, tools, Stats) rather than over them.
        const clear = left + width <= cornerLeft && left >= rect.left + STATS_WIDTH;
        const cornerHeight = Math.max(this.touch ? TOUCH_TARGET : ABOUT_SIZE, STATS_HEIGHT);
        const top = rect.top + (clear ? MARGIN : 2 * MARGIN + cornerHeight);
        placeElement(title, left, top, width, TITLE_HEIGHT * scale);
    }
}
