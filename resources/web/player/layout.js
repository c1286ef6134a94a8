// Where the player sits in the page: RENDER_X x RENDER_Y aligned by the two
// alignment words, or the whole window in full-window mode.

export function playerSize(options, window) {
    if (options.fillWindow) {
        return { width: Math.max(1, window.innerWidth), height: Math.max(1, window.innerHeight) };
    }
    return { width: options.width, height: options.height };
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
    style.visibility = 'visible';
    style.left = `${Math.round(left)}px`;
    style.top = `${Math.round(top)}px`;
    if (width !== undefined) style.width = `${Math.round(width)}px`;
    if (height !== undefined) style.height = `${Math.round(height)}px`;
}

export function hideElement(element) {
    element.style.visibility = 'hidden';
    element.style.left = '3000px';
    element.style.top = '3000px';
}
