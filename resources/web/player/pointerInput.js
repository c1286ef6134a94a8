// Looking around with a mouse, a pen or fingers: drag to turn, pinch and wheel to
// zoom. Dragging moves the picture with the pointer, like grabbing it.

// Degrees per pixel of drag at a mouse speed of 1; the default 0.02 gives 0.1.
const DEGREES_PER_PIXEL_PER_SPEED = 5;
const WHEEL_DEGREES_PER_PIXEL = 0.05;

function distance(a, b) {
    return Math.hypot(a.x - b.x, a.y - b.y);
}

export function attachPointerInput({ element, view, mouseSpeed, onActivity }) {
    const pointers = new Map();
    let drag = null;
    let pinch = null;
    const degreesPerPixel = mouseSpeed * DEGREES_PER_PIXEL_PER_SPEED;

    const beginGesture = () => {
        const points = [...pointers.values()];
        drag = null;
        pinch = null;
        if (points.length === 1) {
            drag = { x: points[0].x, y: points[0].y, lon: view.lon, lat: view.lat };
        } else if (points.length === 2) {
            pinch = { distance: Math.max(1, distance(points[0], points[1])), fov: view.fov };
        }
    };

    element.addEventListener('pointerdown', (event) => {
        if (event.button !== undefined && event.button > 0) return;
        try {
            element.setPointerCapture?.(event.pointerId);
        } catch {
            // A pointer the browser no longer knows: the drag works without capture.
        }
        pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
        view.stopPanning();
        beginGesture();
        onActivity();
    });

    element.addEventListener('pointermove', (event) => {
        if (!pointers.has(event.pointerId)) return;
        pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
        if (drag) {
            view.lookTo(
                drag.lon - (event.clientX - drag.x) * degreesPerPixel,
                drag.lat + (event.clientY - drag.y) * degreesPerPixel,
            );
        } else if (pinch) {
            const points = [...pointers.values()];
            const ratio = pinch.distance / Math.max(1, distance(points[0], points[1]));
            view.zoomTo(pinch.fov * ratio);
        }
    });

    const release = (event) => {
        if (!pointers.delete(event.pointerId)) return;
        beginGesture();
    };
    element.addEventListener('pointerup', release);
    element.addEventListener('pointercancel', release);

    element.addEventListener(
        'wheel',
        (event) => {
            event.preventDefault();
            const pixels = event.deltaMode === 1 ? event.deltaY * 16 : event.deltaY;
            view.zoomBy(pixels * WHEEL_DEGREES_PER_PIXEL);
        },
        { passive: false },
    );
}
