// Draws the video on the inside of a sphere with the page's two shaders, in
// plain WebGL: the page's view needs no scene graph, and each new picture costs
// one upload and one draw call. A headset's view is three.js's (immersiveScene.js).
import { directionVector } from './directions.js';
import { createContext, endWarmUp, whenGraphicsWarm } from './earlyContext.js';
import { FULL_BAND, sameBand } from './pictureBand.js';
import { lookMatrix, perspectiveMatrix, transform } from './viewMatrices.js';

export const RADIUS = 500;
export const NEAR = 1;
export const FAR = 2 * RADIUS;
const POSITION = 0;
const UV = 1;

// The page always carries both shader scripts; these equal texts keep the player
// drawing should a page have lost one, or carry one that does not build.
const FALLBACK_VERTEX = `varying vec2 vUv;
void main() { vUv = uv; gl_Position = projectionMatrix * modelViewMatrix * vec4(position, 1.0); }`;
const FALLBACK_FRAGMENT = `uniform sampler2D tDiffuse;
varying vec2 vUv;
void main() { gl_FragColor = vec4(texture2D(tDiffuse, vUv).rgb, 1.0); }`;

// What three.js declares for a shader material's shaders, so the page's texts
// build the same in both views.
const VERTEX_HEADER = `precision highp float;
uniform mat4 modelViewMatrix;
uniform mat4 projectionMatrix;
attribute vec3 position;
attribute vec2 uv;
`;
const FRAGMENT_HEADER = 'precision highp float;\n';

function shaderText(document, id, fallback) {
    const text = document.getElementById(id)?.textContent ?? '';
    return text.trim() ? text : fallback;
}

function compiled(gl, type, text) {
    const shader = gl.createShader(type);
    gl.shaderSource(shader, text);
    gl.compileShader(shader);
    return shader;
}

// Built without reading anything back: the graphics process compiles while the
// video loads, and the first draw is the first to wait for it.
function buildProgram(gl, shaders) {
    const program = gl.createProgram();
    gl.attachShader(program, compiled(gl, gl.VERTEX_SHADER, VERTEX_HEADER + shaders.vertex));
    gl.attachShader(program, compiled(gl, gl.FRAGMENT_SHADER, FRAGMENT_HEADER + shaders.fragment));
    gl.bindAttribLocation(program, POSITION, 'position');
    gl.bindAttribLocation(program, UV, 'uv');
    gl.linkProgram(program);
    return program;
}

function colourComponents(hex) {
    const value = Number.parseInt(hex.slice(1), 16);
    return [(value >> 16) & 255, (value >> 8) & 255, value & 255].map((c) => c / 255);
}

// A sphere, or the band of it between two polar caps, carrying the texture rows
// the band names; the caps stay empty and show the background colour. Its
// vertices are those of three.js's SphereGeometry, mirrored in x so that, seen
// from the centre, the picture does not read mirrored, and its texture rows
// count from the top; plain typed arrays, so the page's view needs no library.
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
    return { positions, uvs, indices: new Uint32Array(indices) };
}

export class SphereRenderer {
    constructor({ document, container, video, options, onNoWebGl }) {
        this.options = options;
        this.video = video;
        this.onNoWebGl = onNoWebGl;
        this.canvas = document.createElement('canvas');
        this.pixelRatio = Math.min(2, globalThis.devicePixelRatio || 1);
        this.canvas.className = 'qm-view';
        container.appendChild(this.canvas);
        this.background = options.blackAreas ? options.blackAreaColour : '#000000';
        this.shaders = {
            vertex: shaderText(document, 'vertexShader', FALLBACK_VERTEX),
            fragment: shaderText(document, 'fragmentShader', FALLBACK_FRAGMENT),
        };
        this.gl = null;
        this.frameWaiting = false;
        this.hasPicture = false;
        this.viewMatrix = lookMatrix(0, 0);
        this.setBand(FULL_BAND);
        this.setSize(options.width, options.height);
        // The context is asked for once the graphics set-up is done, so the page
        // never waits for it while the video loads; never before the player has
        // started, which may then show the video flat.
        whenGraphicsWarm(globalThis, () => Promise.resolve().then(() => this.makeContext()));
    }

    // The context with the program, the sphere and the texture; the program is
    // built without reading anything back, so the graphics process compiles it
    // while the video loads and the first draw is the first to wait for it.
    makeContext() {
        if (this.gl || this.failed) return this.gl;
        const gl = createContext(this.canvas);
        endWarmUp(globalThis);
        if (!gl) {
            this.failed = true;
            this.onNoWebGl?.();
            return null;
        }
        this.gl = gl;
        this.program = buildProgram(gl, this.shaders);
        this.uniforms = null;
        this.vertexArray = gl.createVertexArray();
        this.vertexBuffer = gl.createBuffer();
        this.indexBuffer = gl.createBuffer();
        this.texture = gl.createTexture();
        gl.bindTexture(gl.TEXTURE_2D, this.texture);
        gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.LINEAR);
        gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.LINEAR);
        // Repeating across u blends the frame's two edges where the sphere closes,
        // so the join shows no seam.
        gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.REPEAT);
        gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
        this.bindState();
        this.sendGeometry();
        return gl;
    }

    // Everything the draws rely on, set once: nothing else uses the context
    // but a headset session, after which it is set again.
    bindState() {
        const gl = this.gl;
        gl.bindFramebuffer(gl.FRAMEBUFFER, null);
        for (const capability of [gl.BLEND, gl.CULL_FACE, gl.DEPTH_TEST, gl.SCISSOR_TEST, gl.STENCIL_TEST]) {
            gl.disable(capability);
        }
        gl.colorMask(true, true, true, true);
        gl.useProgram(this.program);
        gl.bindVertexArray(this.vertexArray);
        gl.activeTexture(gl.TEXTURE0);
        gl.bindTexture(gl.TEXTURE_2D, this.texture);
        // The frame's rows reach the texture top first (the sphere's texture rows
        // count from the top), as they are, without any colour conversion.
        gl.bindBuffer(gl.PIXEL_UNPACK_BUFFER, null);
        gl.pixelStorei(gl.UNPACK_FLIP_Y_WEBGL, false);
        gl.pixelStorei(gl.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
        gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.NONE);
        for (const name of ['UNPACK_ROW_LENGTH', 'UNPACK_SKIP_ROWS', 'UNPACK_SKIP_PIXELS', 'UNPACK_IMAGE_HEIGHT']) {
            gl.pixelStorei(gl[name], 0);
        }
        const [r, g, b] = colourComponents(this.background);
        gl.clearColor(r, g, b, 1);
        gl.viewport(0, 0, this.canvas.width, this.canvas.height);
        this.uniformsSent = false;
        this.stateLost = false;
    }

    // The program's uniform places, asked for at the first draw, when the
    // program is long built; a page shader that did not build gives way to the
    // built-in pair.
    findUniforms() {
        const gl = this.gl;
        if (!gl.getProgramParameter(this.program, gl.LINK_STATUS)) {
            this.shaders = { vertex: FALLBACK_VERTEX, fragment: FALLBACK_FRAGMENT };
            this.program = buildProgram(gl, this.shaders);
            gl.useProgram(this.program);
        }
        this.uniforms = {
            modelView: gl.getUniformLocation(this.program, 'modelViewMatrix'),
            projection: gl.getUniformLocation(this.program, 'projectionMatrix'),
        };
        this.uniformsSent = false;
    }

    // A decoded video picture is waiting: upload it with the next draw.
    takeVideoFrame() {
        this.frameWaiting = true;
    }

    upload() {
        this.frameWaiting = false;
        const video = this.video;
        if (video.readyState < 2 || !(video.videoWidth > 0)) return;
        // A whole new image each time: for a video Chromium then copies the
        // decoded picture within the graphics process, where writing into the
        // existing storage would read it back through the page first.
        this.gl.texImage2D(this.gl.TEXTURE_2D, 0, this.gl.RGB, this.gl.RGB, this.gl.UNSIGNED_BYTE, video);
        this.hasPicture = true;
    }

    // After a headset session the canvas has its old size back but not our
    // record of it, and the context holds the other renderer's state.
    afterHeadset() {
        this.width = null;
        this.height = null;
        this.aimedAt = null;
        this.stateLost = true;
    }

    // Black-areas mode: the picture covers only this band of the sphere.
    setBand(band) {
        if (this.band && sameBand(band, this.band)) return;
        this.band = band;
        this.geometry = sphereGeometry(this.options.segmentsWidth, this.options.segmentsHeight, band);
        // A whole sphere covers every pixel; only caps need the background drawn.
        this.clearNeeded = band.thetaStart > 0 || band.thetaLength < Math.PI;
        if (this.gl) this.sendGeometry();
    }

    sendGeometry() {
        const { positions, uvs, indices } = this.geometry;
        const gl = this.gl;
        gl.bindVertexArray(this.vertexArray);
        gl.bindBuffer(gl.ARRAY_BUFFER, this.vertexBuffer);
        gl.bufferData(gl.ARRAY_BUFFER, positions.byteLength + uvs.byteLength, gl.STATIC_DRAW);
        gl.bufferSubData(gl.ARRAY_BUFFER, 0, positions);
        gl.bufferSubData(gl.ARRAY_BUFFER, positions.byteLength, uvs);
        gl.enableVertexAttribArray(POSITION);
        gl.vertexAttribPointer(POSITION, 3, gl.FLOAT, false, 0, 0);
        gl.enableVertexAttribArray(UV);
        gl.vertexAttribPointer(UV, 2, gl.FLOAT, false, 0, positions.byteLength);
        gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, this.indexBuffer);
        gl.bufferData(gl.ELEMENT_ARRAY_BUFFER, indices, gl.STATIC_DRAW);
        this.indexCount = indices.length;
    }

    setSize(width, height) {
        // Resizing clears the canvas; skip it when nothing changed.
        if (width === this.width && height === this.height) return;
        this.width = width;
        this.height = height;
        this.canvas.width = Math.floor(width * this.pixelRatio);
        this.canvas.height = Math.floor(height * this.pixelRatio);
        this.canvas.style.width = `${width}px`;
        this.canvas.style.height = `${height}px`;
        this.gl?.viewport(0, 0, this.canvas.width, this.canvas.height);
        this.aimedAt = null;
    }

    aim(view) {
        // While only the video moves, the matrices stay as they are.
        const aim = `${view.lon} ${view.lat} ${view.fov}`;
        if (aim === this.aimedAt) return;
        this.aimedAt = aim;
        this.viewMatrix = lookMatrix(view.lon, view.lat);
        this.projection = perspectiveMatrix(view.fov, this.width / this.height, NEAR, FAR);
        this.uniformsSent = false;
    }

    draw(view) {
        this.aim(view);
        // Until the video has a picture the canvas keeps its black.
        if (!this.hasPicture && !(this.frameWaiting && this.video.readyState >= 2)) return;
        const gl = this.makeContext();
        if (!gl) return;
        if (this.stateLost) this.bindState();
        if (this.frameWaiting) this.upload();
        if (!this.hasPicture) return;
        if (!this.uniforms) this.findUniforms();
        if (!this.uniformsSent) {
            gl.uniformMatrix4fv(this.uniforms.modelView, false, this.viewMatrix);
            gl.uniformMatrix4fv(this.uniforms.projection, false, this.projection);
            this.uniformsSent = true;
        }
        if (this.clearNeeded) gl.clear(gl.COLOR_BUFFER_BIT);
        gl.drawElements(gl.TRIANGLES, this.indexCount, gl.UNSIGNED_INT, 0);
    }

    // Screen position in CSS pixels of a direction, or null when it lies behind
    // the viewer.
    project(lon, lat) {
        if (!this.projection) return null;
        const d = directionVector(lon, lat);
        const [x, y, z] = transform(this.viewMatrix, [d.x * RADIUS, d.y * RADIUS, d.z * RADIUS]);
        if (z >= 0) return null;
        const [cx, cy, , w] = transform(this.projection, [x, y, z]);
        return {
            x: ((cx / w + 1) / 2) * this.width,
            y: ((1 - cy / w) / 2) * this.height,
        };
    }
}
