// Draws the video on the inside of a sphere with the page's two shaders.
import {
    Color,
    Group,
    LinearFilter,
    Mesh,
    PerspectiveCamera,
    RepeatWrapping,
    Scene,
    ShaderMaterial,
    SphereGeometry,
    Vector3,
    VideoTexture,
    WebGLRenderer,
} from 'three';
import { directionVector } from './directions.js';
import { FULL_BAND } from './pictureBand.js';

const RADIUS = 500;
const NEAR = 1;
const FAR = 2 * RADIUS;

// The page always carries both shader scripts; these equal texts keep the player
// drawing should a page have lost one.
const FALLBACK_VERTEX = `varying vec2 vUv;
void main() { vUv = uv; gl_Position = projectionMatrix * modelViewMatrix * vec4(position, 1.0); }`;
const FALLBACK_FRAGMENT = `uniform sampler2D tDiffuse;
varying vec2 vUv;
void main() { gl_FragColor = vec4(texture2D(tDiffuse, vUv).rgb, 1.0); }`;

function shaderText(document, id, fallback) {
    const text = document.getElementById(id)?.textContent ?? '';
    return text.trim() ? text : fallback;
}

function makeVideoTexture(video) {
    const texture = new VideoTexture(video);
    texture.minFilter = LinearFilter;
    texture.magFilter = LinearFilter;
    texture.generateMipmaps = false;
    // Repeating across u blends the frame's two edges where the sphere closes,
    // so the join shows no seam.
    texture.wrapS = RepeatWrapping;
    return texture;
}

// A sphere, or the band of it between two polar caps, carrying the texture rows
// the band names; the caps stay empty and show the background colour.
function makeSphereGeometry(segmentsWidth, segmentsHeight, band) {
    const rows = Math.max(2, Math.round((segmentsHeight * band.thetaLength) / Math.PI));
    const geometry = new SphereGeometry(
        RADIUS,
        segmentsWidth,
        rows,
        0,
        2 * Math.PI,
        band.thetaStart,
        band.thetaLength,
    );
    if (band.uvTop !== 1 || band.uvBottom !== 0) {
        const uv = geometry.attributes.uv;
        for (let i = 0; i < uv.count; ++i) {
            uv.setY(i, band.uvBottom + uv.getY(i) * (band.uvTop - band.uvBottom));
        }
    }
    // Seen from the centre the sphere must not show the picture mirrored.
    geometry.scale(-1, 1, 1);
    return geometry;
}

export class SphereRenderer {
    constructor({ document, container, video, options }) {
        this.options = options;
        this.video = video;
        this.renderer = new WebGLRenderer({ antialias: false, powerPreference: 'low-power' });
        this.renderer.setPixelRatio(Math.min(2, globalThis.devicePixelRatio || 1));
        this.renderer.setClearColor(new Color(options.blackAreas ? options.blackAreaColour : '#000000'), 1);
        this.canvas = this.renderer.domElement;
        this.canvas.className = 'qm-view';
        container.appendChild(this.canvas);

        this.scene = new Scene();
        this.camera = new PerspectiveCamera(options.fov, options.width / options.height, NEAR, FAR);
        this.texture = makeVideoTexture(video);
        this.material = new ShaderMaterial({
            uniforms: { tDiffuse: { value: this.texture } },
            vertexShader: shaderText(document, 'vertexShader', FALLBACK_VERTEX),
            fragmentShader: shaderText(document, 'fragmentShader', FALLBACK_FRAGMENT),
        });
        this.mesh = new Mesh(makeSphereGeometry(options.segmentsWidth, options.segmentsHeight, FULL_BAND), this.material);
        // Everything that lies in a direction (the picture, hot spot markers in a
        // headset) turns together.
        this.world = new Group();
        this.world.add(this.mesh);
        this.scene.add(this.world);
        this.lookTarget = new Vector3();
        this.setSize(options.width, options.height);
        // The shader program is built now, while the video is still loading,
        // rather than at the first frame.
        this.renderer.compile(this.scene, this.camera);
    }

    // A decoded video picture is waiting: upload it with the next draw, without
    // waiting for the video's frame callback.
    takeVideoFrame() {
        this.texture.needsUpdate = true;
    }

    // Turns the world so that lon lies straight ahead (-z), where a headset's
    // wearer looks when the session starts; 0 undoes it.
    faceForward(lon) {
        this.world.rotation.y = lon === null ? 0 : ((lon - 90) * Math.PI) / 180;
    }

    // After a headset session the renderer has its old size back but not our
    // record of it.
    forgetSize() {
        this.width = null;
        this.height = null;
    }

    render() {
        this.renderer.render(this.scene, this.camera);
    }

    // Black-areas mode: the picture covers only this band of the sphere.
    setBand(band) {
        const old = this.mesh.geometry;
        this.mesh.geometry = makeSphereGeometry(this.options.segmentsWidth, this.options.segmentsHeight, band);
        old.dispose();
    }

    setSize(width, height) {
        // Resizing clears the canvas; skip it when nothing changed.
        if (width === this.width && height === this.height) return;
        this.width = width;
        this.height = height;
        this.renderer.setSize(width, height);
        this.camera.aspect = width / height;
        this.camera.updateProjectionMatrix();
    }

    aim(view) {
        const d = directionVector(view.lon, view.lat);
        this.lookTarget.set(d.x * RADIUS, d.y * RADIUS, d.z * RADIUS);
        this.camera.lookAt(this.lookTarget);
        this.camera.updateMatrixWorld();
        if (this.camera.fov !== view.fov) {
            this.camera.fov = view.fov;
            this.camera.updateProjectionMatrix();
        }
    }

    draw(view) {
        this.aim(view);
        this.render();
    }

    // Screen position in CSS pixels of a direction, or null when it lies behind
    // the viewer or outside the view.
    project(lon, lat) {
        const d = directionVector(lon, lat);
        const point = new Vector3(d.x * RADIUS, d.y * RADIUS, d.z * RADIUS);
        point.applyMatrix4(this.camera.matrixWorldInverse);
        if (point.z >= 0) return null;
        point.applyMatrix4(this.camera.projectionMatrix);
        return {
            x: ((point.x + 1) / 2) * this.width,
            y: ((1 - point.y) / 2) * this.height,
        };
    }
}
