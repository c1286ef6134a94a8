// Headsets: where the browser offers immersive VR, an "Enter VR" button shows
// the video all around the viewer through three.js's WebXR support, starting
// with the direction the page was showing straight ahead. Hot spots stand there
// as their picture with the caption under it during their time window; the
// select action of a controller, or of the gaze on a headset without one,
// follows the hot spot it points at (the session ends first).
import { CanvasTexture, Mesh, MeshBasicMaterial, PlaneGeometry, Raycaster, SRGBColorSpace } from 'three';
import { directionVector } from './directions.js';
import { isShownAt } from './hotSpots.js';
import { ImmersiveScene } from './immersiveScene.js';

// Inside the picture's sphere (radius 500), about as large as on the page.
const MARKER_DISTANCE = 400;
const MARKER_WIDTH = 110;
const PICTURE = { width: 256, height: 160, icon: 96, captionTop: 104, captionHeight: 40 };
const CONTROLLERS = 2;

export async function immersiveSupported(navigator) {
    try {
        return Boolean(await navigator.xr?.isSessionSupported('immersive-vr'));
    } catch {
        return false;
    }
}

// The hot spot's picture with its caption, drawn once for the headset.
function markerTexture(document, image, title) {
    const canvas = document.createElement('canvas');
    canvas.width = PICTURE.width;
    canvas.height = PICTURE.height;
    const context = canvas.getContext('2d');
    if (image.complete && image.naturalWidth > 0) {
        context.drawImage(image, (PICTURE.width - PICTURE.icon) / 2, 0, PICTURE.icon, PICTURE.icon);
    }
    context.font = 'bold 26px Arial, Helvetica, sans-serif';
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    const width = Math.min(PICTURE.width, context.measureText(title).width + 16);
    context.fillStyle = 'rgba(0, 0, 0, 0.6)';
    context.fillRect((PICTURE.width - width) / 2, PICTURE.captionTop, width, PICTURE.captionHeight);
    context.fillStyle = '#ffffff';
    context.fillText(title, PICTURE.width / 2, PICTURE.captionTop + PICTURE.captionHeight / 2, PICTURE.width - 8);
    const texture = new CanvasTexture(canvas);
    texture.colorSpace = SRGBColorSpace;
    return texture;
}

export class ImmersiveView {
    constructor({ window, sphere, hotSpots, video, view, onPresenting }) {
        this.window = window;
        this.sphere = sphere;
        this.hotSpots = hotSpots;
        this.video = video;
        this.view = view;
        this.onPresenting = onPresenting;
        this.session = null;
        // Made at the first session: the page's own view needs none of it.
        this.headset = null;
        this.markers = [];
        this.controllers = [];
        this.button = window.document.createElement('button');
        this.button.type = 'button';
        this.button.id = 'qm-vr';
        this.button.className = 'qm-tool';
        this.button.textContent = 'Enter VR';
        this.button.hidden = true;
        this.button.addEventListener('click', () => this.enter());
        window.document.body.appendChild(this.button);
        immersiveSupported(window.navigator).then((supported) => {
            // The flat view without WebGL has nothing to show a headset; a renderer
            // that found no WebGL before the answer came has handed over to it.
            if (!supported || sphere.flat || sphere.failed) return;
            this.button.hidden = false;
            onPresenting(false);
        });
    }

    get presenting() {
        return this.session !== null;
    }

    async enter() {
        if (this.session) return;
        let session;
        try {
            session = await this.window.navigator.xr.requestSession('immersive-vr');
        } catch {
            // Refused, or the headset went away.
            return;
        }
        this.session = session;
        session.addEventListener('end', () => this.onEnd());
        this.headset ??= new ImmersiveScene(this.sphere);
        this.headset.begin(this.view.lon);
        const xr = this.headset.xr;
        xr.enabled = true;
        xr.setReferenceSpaceType('local');
        this.addMarkers();
        this.addControllers();
        this.onPresenting(true);
        try {
            await xr.setSession(session);
        } catch {
            session.end().catch(() => {});
            return;
        }
        this.headset.renderer.setAnimationLoop(() => this.drawFrame());
    }

    addMarkers() {
        const document = this.window.document;
        for (const entry of this.hotSpots.entries) {
            const texture = markerTexture(document, entry.image, entry.hotSpot.title);
            const material = new MeshBasicMaterial({ map: texture, transparent: true });
            const geometry = new PlaneGeometry(MARKER_WIDTH, (MARKER_WIDTH * PICTURE.height) / PICTURE.width);
            const marker = new Mesh(geometry, material);
            const d = directionVector(entry.lon, 0);
            marker.position.set(d.x * MARKER_DISTANCE, d.y * MARKER_DISTANCE, d.z * MARKER_DISTANCE);
            // Facing the viewer in the middle; set before the marker joins the
            // turned world, where the centre stays where it is.
            marker.lookAt(0, 0, 0);
            marker.userData.entry = entry;
            marker.visible = false;
            this.headset.world.add(marker);
            this.markers.push(marker);
        }
    }

    addControllers() {
        if (this.controllers.length) return;
        for (let index = 0; index < CONTROLLERS; ++index) {
            const controller = this.headset.xr.getController(index);
            controller.addEventListener('select', () => this.select(controller));
            this.headset.scene.add(controller);
            this.controllers.push(controller);
        }
    }

    drawFrame() {
        const seconds = this.video.currentTime;
        for (const marker of this.markers) marker.visible = isShownAt(marker.userData.entry.hotSpot, seconds);
        // The page's frame callbacks may stop while a headset shows the picture,
        // so a moving or newly seeked video is uploaded here.
        if (this.video.readyState >= 2 && (seconds !== this.uploadedAt || !this.video.paused)) {
            this.uploadedAt = seconds;
            this.headset.takeVideoFrame();
        }
        this.headset.render();
    }

    select(controller) {
        controller.updateMatrixWorld(true);
        this.raycaster ??= new Raycaster();
        this.raycaster.setFromXRController(controller);
        const [hit] = this.raycaster.intersectObjects(
            this.markers.filter((marker) => marker.visible),
            false,
        );
        if (!hit) return;
        const entry = hit.object.userData.entry;
        this.session?.end().catch(() => {});
        this.hotSpots.open(entry);
    }

    onEnd() {
        this.headset.renderer.setAnimationLoop(null);
        this.headset.xr.enabled = false;
        for (const marker of this.markers) {
            marker.removeFromParent();
            marker.geometry.dispose();
            marker.material.map.dispose();
            marker.material.dispose();
        }
        this.markers = [];
        this.headset.faceForward(null);
        this.sphere.afterHeadset();
        this.session = null;
        this.onPresenting(false);
    }
}
