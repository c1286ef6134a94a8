// The first WebGL context of a page costs the graphics process a long set-up,
// and a context asked for on the page waits for all of it, holding up the
// video's loading too. A worker asks for a throwaway context as soon as the page
// starts, so that set-up runs beside the page; the player's own context, asked
// for once the worker is done (or at the first picture), then comes quickly.
export const WARM_UP_KEY = '__quillmarkGraphics';

// One sphere seen from inside needs no depth buffer, no stencil and no alpha.
export const CONTEXT_ATTRIBUTES = {
    alpha: false,
    antialias: false,
    depth: false,
    stencil: false,
    powerPreference: 'low-power',
};

const WORKER_TEXT = `const canvas = self.OffscreenCanvas ? new OffscreenCanvas(1, 1) : null;
const gl = canvas && canvas.getContext('webgl2');
if (gl) gl.clear(gl.COLOR_BUFFER_BIT);
postMessage(Boolean(gl));`;

export function warmUpGraphics(scope) {
    const state = { done: false, waiting: [], worker: null };
    scope[WARM_UP_KEY] = state;
    const finish = () => {
        if (state.done) return;
        state.done = true;
        for (const callback of state.waiting.splice(0)) callback();
    };
    try {
        const url = scope.URL.createObjectURL(new scope.Blob([WORKER_TEXT], { type: 'text/javascript' }));
        state.worker = new scope.Worker(url);
        scope.URL.revokeObjectURL(url);
        state.worker.onmessage = finish;
        state.worker.onerror = finish;
    } catch {
        // No workers here (or none from a blob): the page's context pays the set-up.
        finish();
    }
}

// Calls back once the set-up is done; at once when nothing was started.
export function whenGraphicsWarm(scope, callback) {
    const state = scope[WARM_UP_KEY];
    if (!state || state.done) callback();
    else state.waiting.push(callback);
}

// The page's context now holds the set-up; the throwaway one can go.
export function endWarmUp(scope) {
    scope[WARM_UP_KEY]?.worker?.terminate();
    delete scope[WARM_UP_KEY];
}

export function createContext(canvas) {
    return canvas.getContext('webgl2', CONTEXT_ATTRIBUTES);
}
