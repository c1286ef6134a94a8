// The player's drawing context, asked for as early as the page allows: the
// graphics process then sets it up while three.js is still loading.
export const EARLY_CANVAS_KEY = '__quillmarkCanvas';

// One sphere seen from inside needs no depth buffer, no stencil and no alpha.
export const CONTEXT_ATTRIBUTES = {
    alpha: false,
    antialias: false,
    depth: false,
    stencil: false,
    powerPreference: 'low-power',
};

export function prepareContext(scope) {
    const canvas = scope.document?.createElement('canvas');
    // Without WebGL 2 the player reports nothing here; three.js says why later.
    if (canvas?.getContext('webgl2', CONTEXT_ATTRIBUTES)) scope[EARLY_CANVAS_KEY] = canvas;
}

// The prepared canvas with its context, once; null when there is none.
export function takeContext(scope) {
    const canvas = scope[EARLY_CANVAS_KEY] ?? null;
    delete scope[EARLY_CANVAS_KEY];
    return canvas ? { canvas, context: canvas.getContext('webgl2') } : null;
}
