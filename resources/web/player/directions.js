// The player's direction frame: lon 0 faces the horizontal middle of the video
// frame and grows to the right, lat grows upwards. The sphere is mirrored in x so
// that, seen from inside, the picture reads the right way round; with that mirror
// the frame column u (0 left edge .. 1 right edge) lies at lon = (u - 0.5) * 360.

const DEG = Math.PI / 180;

// Unit vector of a view direction in world coordinates.
export function directionVector(lonDeg, latDeg) {
    const lon = lonDeg * DEG;
    const lat = latDeg * DEG;
    return {
        x: -Math.cos(lat) * Math.cos(lon),
        y: Math.sin(lat),
        z: -Math.cos(lat) * Math.sin(lon),
    };
}

// The configuration script carries a hot spot's yaw shifted by half a turn; undo it.
export function hotSpotLon(publishedYaw) {
    return wrapDegrees(publishedYaw + 180);
}

// Any angle to (-180, 180].
export function wrapDegrees(degrees) {
    const wrapped = ((degrees % 360) + 360) % 360;
    return wrapped > 180 ? wrapped - 360 : wrapped;
}
