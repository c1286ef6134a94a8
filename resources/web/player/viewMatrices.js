// The two matrices of the page's vertex shader for a viewer at the sphere's
// centre, column-major as WebGL takes them: a perspective of a vertical field of
// view, and the turn that makes a direction the middle of the view (up stays up).
import { directionVector } from './directions.js';

export function perspectiveMatrix(fovDegrees, aspect, near, far) {
    const y = 1 / Math.tan((fovDegrees * Math.PI) / 360);
    const x = y / aspect;
    const c = -(far + near) / (far - near);
    const d = (-2 * far * near) / (far - near);
    return new Float32Array([x, 0, 0, 0, 0, y, 0, 0, 0, 0, c, -1, 0, 0, d, 0]);
}

function normalized(v) {
    const length = Math.hypot(v[0], v[1], v[2]) || 1;
    return [v[0] / length, v[1] / length, v[2] / length];
}

function cross(a, b) {
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
}

// The view's axes: z points back from the direction looked at, x to the right.
export function lookMatrix(lon, lat) {
    const d = directionVector(lon, lat);
    const z = [-d.x, -d.y, -d.z];
    const x = normalized(cross([0, 1, 0], z));
    const y = cross(z, x);
    return new Float32Array([x[0], y[0], z[0], 0, x[1], y[1], z[1], 0, x[2], y[2], z[2], 0, 0, 0, 0, 1]);
}

// A point through a column-major 4 x 4 matrix, with its w.
export function transform(m, [px, py, pz]) {
    return [0, 1, 2, 3].map((row) => m[row] * px + m[4 + row] * py + m[8 + row] * pz + m[12 + row]);
}
