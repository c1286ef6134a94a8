// Keys while the player has focus: arrows look, + and - zoom, space plays or pauses.
import { KEY_STEP_DEGREES, ZOOM_STEP_DEGREES } from './viewState.js';

export function attachKeyboardInput({ element, view, togglePlay }) {
    const actions = {
        ArrowLeft: () => view.turnBy(-KEY_STEP_DEGREES, 0),
        ArrowRight: () => view.turnBy(KEY_STEP_DEGREES, 0),
        ArrowUp: () => view.turnBy(0, KEY_STEP_DEGREES),
        ArrowDown: () => view.turnBy(0, -KEY_STEP_DEGREES),
        '+': () => view.zoomBy(-ZOOM_STEP_DEGREES),
        '=': () => view.zoomBy(-ZOOM_STEP_DEGREES),
        '-': () => view.zoomBy(ZOOM_STEP_DEGREES),
        ' ': togglePlay,
    };
    element.addEventListener('keydown', (event) => {
        if (event.altKey || event.ctrlKey || event.metaKey) return;
        const action = actions[event.key];
        if (!action) return;
        event.preventDefault();
        view.stopPanning();
        action();
    });
}
