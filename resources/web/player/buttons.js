// The page's image buttons: the pan and zoom row, restart, the two mute buttons
// and the title panel. The page swaps the normal and hover pictures itself; the
// player shows the pressed ("D") picture while a button is held.
import { hideElement, placeElement } from './layout.js';

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
const MARGIN = 8;

export function showPressed(element) {
    const picture = element && PRESSED_PICTURES[element.id];
    if (picture) element.src = picture;
}

// Scale of the button row: as large as the player's width allows, never above
// two thirds of the pictures' size so the row leaves most of the view free.
function rowScale(width) {
    const natural = ROW.length * BUTTON_WIDTH + (ROW.length - 1) * GAP;
    return Math.max(0.3, Math.min(2 / 3, (width - 2 * MARGIN) / natural));
}

export class Buttons {
    constructor(document) {
        this.document = document;
        this.titleShown = true;
        this.muted = false;
        this.unmuteWanted = false;
        for (const id of [...ROW, 'muteON', 'muteOFF', 'titlePN', 'ab']) {
            const element = document.getElementById(id);
            if (element) element.draggable = false;
        }
        for (const id of [...ROW, 'muteON', 'muteOFF']) {
            const element = document.getElementById(id);
            if (!element) continue;
            element.setAttribute('role', 'button');
            element.setAttribute('aria-label', element.title || id);
        }
    }

    element(id) {
        return this.document.getElementById(id);
    }

    hideTitle() {
        this.titleShown = false;
    }

    setMuted(muted, unmuteWanted) {
        this.muted = muted;
        this.unmuteWanted = muted && unmuteWanted;
    }

    layout(rect, bottomReserved) {
        const scale = rowScale(rect.width);
        const width = BUTTON_WIDTH * scale;
        const height = BUTTON_HEIGHT * scale;
        const rowWidth = ROW.length * width + (ROW.length - 1) * GAP;
        let left = rect.left + (rect.width - rowWidth) / 2;
        const top = rect.top + rect.height - bottomReserved - height - MARGIN;
        for (const id of ROW) {
            const element = this.element(id);
            if (element) placeElement(element, left, top, width, height);
            left += width + GAP;
        }
        const about = this.element('ab');
        if (about) {
            placeElement(about, rect.left + rect.width - ABOUT_SIZE - MARGIN, rect.top + MARGIN, ABOUT_SIZE, ABOUT_SIZE);
        }
        // The mute button sits left of the About picture, level with its middle.
        const muteRight = rect.left + rect.width - (about ? ABOUT_SIZE + 2 * MARGIN : MARGIN);
        this.layoutMute(rect, muteRight, rect.top + MARGIN + (about ? ABOUT_SIZE / 2 : MUTE_SIZE / 2));
        this.layoutTitle(rect);
    }

    layoutMute(rect, right, middle) {
        const shown = this.element(this.muted ? 'muteOFF' : 'muteON');
        const hidden = this.element(this.muted ? 'muteON' : 'muteOFF');
        if (hidden) {
            hideElement(hidden);
            hidden.classList.remove('qm-attention');
        }
        if (!shown) return;
        const size = this.unmuteWanted ? 2 * MUTE_SIZE : MUTE_SIZE;
        placeElement(shown, right - size, Math.max(rect.top + MARGIN / 2, middle - size / 2), size, size);
        shown.classList.toggle('qm-attention', this.unmuteWanted);
    }

    layoutTitle(rect) {
        const title = this.element('titlePN');
        if (!title) return;
        if (!this.titleShown) {
            hideElement(title);
            return;
        }
        const scale = Math.min(1, (rect.width * 0.7) / TITLE_WIDTH);
        const width = TITLE_WIDTH * scale;
        const left = rect.left + (rect.width - width) / 2;
        // In a narrow player the panel goes under the corner pictures (About,
        // mute, Stats) rather than over them.
        const cornerWidth = ABOUT_SIZE + MUTE_SIZE + 2 * MARGIN;
        const clear = left + width <= rect.left + rect.width - cornerWidth && left >= rect.left + STATS_WIDTH;
        const top = rect.top + (clear ? MARGIN : 2 * MARGIN + Math.max(ABOUT_SIZE, STATS_HEIGHT));
        placeElement(title, left, top, width, TITLE_HEIGHT * scale);
    }
}
