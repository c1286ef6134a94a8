// Black-areas mode: which rows of the frame hold picture, and where that picture
// lies on the sphere. An equirectangular frame spans 180 degrees over a height of
// half its width; a wider frame, or a 2:1 frame with black zones above and below,
// covers only a band around the horizon and the rest is left to the page colour.

// A row brighter than this anywhere counts as picture; compressed black stays below.
export const BLACK_LEVEL = 40;
const SAMPLE_WIDTH = 64;
const MAX_SAMPLE_ROWS = 720;

// First and past-the-last picture row from the brightest channel value of every
// row, or null when the whole frame is black (a fade, a frame not decoded yet).
export function pictureRows(rowPeaks) {
    const top = rowPeaks.findIndex((peak) => peak > BLACK_LEVEL);
    if (top < 0) return null;
    let bottom = rowPeaks.length;
    while (bottom > top && rowPeaks[bottom - 1] <= BLACK_LEVEL) --bottom;
    return { top, bottom };
}

// Brightest channel value of every row of the current video frame, the frame
// scaled to a narrow strip; null when the frame cannot be read.
export function sampleRowPeaks(video, document) {
    if (!(video.videoWidth > 0) || !(video.videoHeight > 0)) return null;
    const rows = Math.min(video.videoHeight, MAX_SAMPLE_ROWS);
    const canvas = document.createElement('canvas');
    canvas.width = SAMPLE_WIDTH;
    canvas.height = rows;
    const context = canvas.getContext('2d', { willReadFrequently: true });
    if (!context) return null;
    try {
        context.drawImage(video, 0, 0, SAMPLE_WIDTH, rows);
        const pixels = context.getImageData(0, 0, SAMPLE_WIDTH, rows).data;
        const peaks = new Array(rows).fill(0);
        for (let row = 0; row < rows; ++row) {
            let peak = 0;
            for (let i = row * SAMPLE_WIDTH * 4, end = i + SAMPLE_WIDTH * 4; i < end; i += 4) {
                peak = Math.max(peak, pixels[i], pixels[i + 1], pixels[i + 2]);
            }
            peaks[row] = peak;
        }
        return peaks;
    } catch {
        // A video from another origin cannot be read back; keep the frame's shape.
        return null;
    }
}

// Where the picture rows [top, bottom) of a frame of rowCount rows lie on the
// sphere (theta from the north pole, radians) and which texture rows they show.
export function sphereBand(videoWidth, videoHeight, rows, rowCount) {
    const height = videoHeight > 0 ? videoHeight : 1;
    const width = videoWidth > 0 ? videoWidth : 2 * height;
    const span = rows ? rows : { top: 0, bottom: rowCount };
    const scale = height / rowCount;
    const top = span.top * scale;
    const bottom = span.bottom * scale;
    // The height a full 180-degree frame of this width would have.
    const fullHeight = Math.max(height, width / 2);
    const offset = (fullHeight - height) / 2;
    return {
        thetaStart: (Math.PI * (offset + top)) / fullHeight,
        thetaLength: (Math.PI * (bottom - top)) / fullHeight,
        uvTop: 1 - top / height,
        uvBottom: 1 - bottom / height,
    };
}

export const FULL_BAND = { thetaStart: 0, thetaLength: Math.PI, uvTop: 1, uvBottom: 0 };

export function sameBand(a, b) {
    const close = (x, y) => Math.abs(x - y) < 1e-4;
    return (
        close(a.thetaStart, b.thetaStart) &&
        close(a.thetaLength, b.thetaLength) &&
        close(a.uvTop, b.uvTop) &&
        close(a.uvBottom, b.uvBottom)
    );
}
