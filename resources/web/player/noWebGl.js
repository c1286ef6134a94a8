// Without WebGL (turned off, a blocked or old graphics driver) the sphere cannot
// be drawn. Rather than an empty page, the viewer then gets a plain message over
// the view and the video itself shown flat in the player's box, with the poster
// until it plays; hot spots stand over their place in the flat picture. The flat
// view stands in for the sphere renderer, so the rest of the player runs as usual.

export const NO_WEBGL_MESSAGE =
    'This 360° video needs WebGL, which this browser has turned off or cannot use, so it plays flat here. ' +
    'To look around in it, turn on hardware acceleration in the browser’s settings or use another browser.';

// The look of the video status message (videoStatus.js), in the top left corner
// so that the picture stays in sight and the buttons at the top right free;
// above the title panel, below the control panel.
const STYLE = `
#qm-no-webgl { position: absolute; left: 10px; right: 116px; top: 10px; z-index: 21; pointer-events: none; }
#qm-no-webgl div { display: inline-block; padding: 8px 12px; border-radius: 4px; background: rgba(0, 0, 0, 0.8);
  color: #fff; font: 14px/20px Arial, Helvetica, sans-serif; pointer-events: auto; }
#container video.qm-flat { position: absolute; left: 0; top: 0; width: 100%; height: 100%; object-fit: contain;
  background: #000; }
`;

// The sphere renderer, which reports later (it asks for its context only once
// the graphics set-up is done) when WebGL turns out not to work; the flat view
// should the renderer not even start.
export function createView(makeSphere, parts) {
    try {
        return makeSphere();
    } catch {
        return new FlatView(parts);
    }
}

export class FlatView {
    constructor({ document, container, video }) {
        this.flat = true;
        this.video = video;
        this.width = 0;
        this.height = 0;
        const style = document.createElement('style');
        style.textContent = STYLE;
        document.head.appendChild(style);
        // The page's poster is the video's fallback content; shown until the first frame.
        const poster = video.querySelector('img')?.getAttribute('src');
        if (poster && !video.poster) video.poster = poster;
        video.classList.add('qm-flat');
        video.style.display = '';
        // The element keeps playing when moved; it takes the pointer input the canvas would.
        container.appendChild(video);
        this.canvas = video;
        const message = document.createElement('div');
        message.id = 'qm-no-webgl';
        message.setAttribute('role', 'alert');
        message.appendChild(document.createElement('div')).textContent = NO_WEBGL_MESSAGE;
        container.appendChild(message);
    }

    setSize(width, height) {
        this.width = width;
        this.height = height;
    }

    // Where a direction lies in the flat frame (lon 0 in the middle, lat 0 on the
    // horizon), as the box shows the frame with its aspect kept.
    project(lon, lat) {
        const { videoWidth, videoHeight } = this.video;
        if (!videoWidth || !videoHeight || !this.width || !this.height) return null;
        const scale = Math.min(this.width / videoWidth, this.height / videoHeight);
        const [shownWidth, shownHeight] = [videoWidth * scale, videoHeight * scale];
        return {
            x: (this.width - shownWidth) / 2 + (lon / 360 + 0.5) * shownWidth,
            y: (this.height - shownHeight) / 2 + (0.5 - lat / 180) * shownHeight,
        };
    }

    // The video element shows its own frames: nothing to draw.
    draw() {}
    takeVideoFrame() {}
    setBand() {}
}
