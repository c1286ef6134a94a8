// Draws the video on the inside of a sphere with the page's two shaders.
import {
    BufferAttribute,
    BufferGeometry,
    Color,
    Group,
    LinearFilter,
    Mesh,
    PerspectiveCamera,
    RepeatWrapping,
    RGBFormat,
    Scene,
    ShaderMaterial,
    Vector3,
    VideoTexture,
    WebGLRenderer,
} from 'three';
import { directionVector } from './directions.js';
import { CONTEXT_ATTRIBUTES, takeContext } from './earlyContext.js';
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

// A video texture uploaded when the player says a new picture is there: the
// player follows the video's frames itself, and a frame callback of the
// texture's own would wake the page a second time for each of them.
class PlayerVideoTexture extends VideoTexture {
    constructor(video) {
        // Given no video, the base class asks for no frame callbacks.
        super({});
        this.image = video;
        this.followed = typeof video.requestVideoFrameCallback === 'function';
    }

    // Without frame callbacks every drawn frame takes the current picture.
    update() {
        if (!this.followed && this.image.readyState >= 2) this.needsUpdate = true;
    }
}

function makeVideoTexture(video) {
    const texture = new PlayerVideoTexture(video);
    texture.minFilter = LinearFilter;
    texture.magFilter = LinearFilter;
    texture.generateMipmaps = false;
    // The picture has no alpha, and the sphere's texture rows count from the
    // top: taken as RGB and not turned upside down, each frame reaches the
    // texture with a fraction of the browser's work.
    texture.format = RGBFormat;
    texture.flipY = false;
    // Repeating across u blends the frame's two edges where the sphere closes,
    // so the join shows no seam.
    texture.wrapS = RepeatWrapping;
    return texture;
}

// A sphere, or the band of it between two polar caps, carrying the texture rows
// the band names; the caps stay empty and show the background colour. Its
// vertices are those of three.js's SphereGeometry, mirrored in x so that, seen
// from the centre, the picture does not read mirrored, and its texture rows
// count from the top; built straight into typed arrays since this runs before
// the first frame.
export function sphereGeometry(segmentsWidth, segmentsHeight, band) {
    const rows = Math.max(2, Math.round((segmentsHeight * band.thetaLength) / Math.PI));
    const columns = segmentsWidth;
    const positions = new Float32Array((columns + 1) * (rows + 1) * 3);
    const uvs = new Float32Array((columns + 1) * (rows + 1) * 2);
    const thetaEnd = Math.min(band.thetaStart + band.thetaLength, Math.PI);
    for (let row = 0, vertex = 0; row <= rows; ++row) {
        const theta = band.thetaStart + (row / rows) * band.thetaLength;
        const y = RADIUS * Math.cos(theta);
        const ring = RADIUS * Math.sin(theta);
        // At a pole every column meets in one point; its texture column is the
        // middle of the segment, as SphereGeometry has it.
        const poleShift =
            row === 0 && band.thetaStart === 0 ? 0.5 : row === rows && thetaEnd === Math.PI ? -0.5 : 0;
        // Texture rows from the top (the texture is not flipped).
        const v = 1 - (band.uvTop - (row / rows) * (band.uvTop - band.uvBottom));
        for (let column = 0; column <= columns; ++column, ++vertex) {
            const phi = (column / columns) * 2 * Math.PI;
            positions[vertex * 3] = ring * Math.cos(phi);
            positions[vertex * 3 + 1] = y;
            positions[vertex * 3 + 2] = ring * Math.sin(phi);
            uvs[vertex * 2] = (column + poleShift) / columns;
            uvs[vertex * 2 + 1] = v;
        }
    }
    const indices = [];
    const at = (row, column) => row * (columns + 1) + column;
    for (let row = 0; row < rows; ++row) {
        for (let column = 0; column < columns; ++column) {
            const [a, b, c, d] = [at(row, column + 1), at(row, column), at(row + 1, column), at(row + 1, column + 1)];
            // The triangles that would have no area at a pole are left out.
            if (row !== 0 || band.thetaStart > 0) indices.push(a, b, d);
            if (row !== rows - 1 || thetaEnd < Math.PI) indices.push(b, c, d);
        }
    }
    const geometry = new BufferGeometry();
    geometry.setAttribute('position', new BufferAttribute(positions, 3));
    geometry.setAttribute('uv', new BufferAttribute(uvs, 2));
    geometry.setIndex(indices);
    return geometry;
}

export class SphereRenderer {
    constructor({ document, container, video, options }) {
        this.options = options;
        this.video = video;
        this.renderer = new WebGLRenderer({ ...CONTEXT_ATTRIBUTES, ...(takeContext(globalThis) ?? {}) });
        this.renderer.setPixelRatio(Math.min(2, globalThis.devicePixelRatio || 1));
        // The page's two shaders are fixed; reading back their logs would make
        // the page wait for the graphics process before its first picture.
        this.renderer.debug.checkShaderErrors = false;
        // One mesh needs no sorting.
        this.renderer.sortObjects = false;
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
        this.mesh = new Mesh(new BufferGeometry(), this.material);
        // Always in view, and never moved but with the world.
        this.mesh.frustumCulled = false;
        this.mesh.matrixAutoUpdate = false;
        // Everything that lies in a direction (the picture, hot spot markers in a
        // headset) turns together.
        this.world = new Group();
        this.world.add(this.mesh);
        this.scene.add(this.world);
        this.setBand(FULL_BAND);
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
    // wearer looks when the session starts; null undoes it.
    faceForward(lon) {
        this.world.rotation.y = lon === null ? 0 : ((lon - 90) * Math.PI) / 180;
    }

    // After a headset session the renderer has its old size back but not our
    // record of it, and the camera has the headset's pose.
    forgetSize() {
        this.width = null;
        this.height = null;
        this.aimedAt = null;
    }

    render() {
        this.renderer.render(this.scene, this.camera);
    }

    // Black-areas mode: the picture covers only this band of the sphere.
    setBand(band) {
        this.mesh.geometry.dispose();
        this.mesh.geometry = sphereGeometry(this.options.segmentsWidth, this.options.segmentsHeight, band);
        // A whole sphere covers every pixel; only caps need the background drawn.
        this.renderer.autoClear = band.thetaStart > 0 || band.thetaLength < Math.PI;
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
        // While only the video moves, the camera stays as it is.
        const aim = `${view.lon} ${view.lat} ${view.fov}`;
        if (aim === this.aimedAt) return;
        this.aimedAt = aim;
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
