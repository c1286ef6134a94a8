// Where the player sits in the page: RENDER_X x RENDER_Y aligned by the two
// alignment words, scaled down (aspect kept) where the window is smaller, or the
// whole window in full-window mode.

// The least size in CSS pixels of anything a finger must hit.
export const TOUCH_TARGET = 44;

// Touch screens are matched by their primary pointer, the same test the style
// sheet makes, so script and style sheet agree on sizes.
export function coarsePointer(window) {
    return Boolean(window.matchMedia?.('(pointer: coarse)').matches);
}

// The published size where it fits, otherwise the largest size of the same
// aspect that does.
export function fitSize(width, height, roomWidth, roomHeight) {
    if (!(roomWidth > 0) || !(roomHeight > 0)) return { width, height };
    const scale = Math.min(1, roomWidth / width, roomHeight / height);
    return { width: Math.max(1, Math.floor(width * scale)), height: Math.max(1, Math.floor(height * scale)) };
}

export function playerSize(options, window) {
    if (options.fillWindow) {
        return { width: Math.max(1, window.innerWidth), height: Math.max(1, window.innerHeight) };
    }
    return fitSize(options.width, options.height, window.innerWidth, window.innerHeight);
}

function offset(alignment, room) {
    if (alignment === 'center') return Math.max(0, Math.round(room / 2));
    if (alignment === 'right' || alignment === 'bottom') return Math.max(0, room);
    return 0;
}

export function playerRect(options, window) {
    const { width, height } = playerSize(options, window);
    return {
        left: options.fillWindow ? 0 : offset(options.alignX, window.innerWidth - width),
        top: options.fillWindow ? 0 : offset(options.alignY, window.innerHeight - height),
        width,
        height,
    };
}

export function placeElement(element, left, top, width, height) {
    const style = element.style;
    style.position = 'absolute';
    style.display = '';
    style.visibility = 'visible';
    style.left = `${Math.round(left)}px`;
    style.top = `${Math.round(top)}px`;
    if (width !== undefined) style.width = `${Math.round(width)}px`;
    if (height !== undefined) style.height = `${Math.round(height)}px`;
}

// Parked out of sight and also taken out of the page's layout: a hidden picture
// then costs no frame anything, and the page stays no larger than what it shows.
export function hideElement(element) {
    element.style.display = 'none';
    element.style.visibility = 'hidden';
    element.style.left = '3000px';
    element.style.top = '3000px';
}

export function boxesOverlap(a, b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

// The width an element takes when shown, hidden or not.
export function shownWidth(element) {
    const display = element.style.display;
    element.style.display = '';
    const width = element.offsetWidth;
    element.style.display = display;
    return width;
}
