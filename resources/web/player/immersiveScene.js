// The picture a headset shows: three.js draws the page's sphere, with the page's
// two shaders, into the page's own canvas and context while a session lasts.
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
    VideoTexture,
    WebGLRenderer,
} from 'three';
import { FAR, NEAR } from './sphereRenderer.js';

// A video texture uploaded when told to: the session's frames decide when.
class PlayerVideoTexture extends VideoTexture {
    constructor(video) {
        // Given no video, the base class asks for no frame callbacks.
        super({});
        this.image = video;
    }

    update() {}
}

function makeVideoTexture(video) {
    const texture = new PlayerVideoTexture(video);
    texture.minFilter = LinearFilter;
    texture.magFilter = LinearFilter;
    texture.generateMipmaps = false;
    // As the page's view takes it: RGB, rows from the top, the edges joined.
    texture.format = RGBFormat;
    texture.flipY = false;
    texture.wrapS = RepeatWrapping;
    return texture;
}

function threeGeometry({ positions, uvs, indices }) {
    const geometry = new BufferGeometry();
    geometry.setAttribute('position', new BufferAttribute(positions, 3));
    geometry.setAttribute('uv', new BufferAttribute(uvs, 2));
    geometry.setIndex(new BufferAttribute(indices, 1));
    return geometry;
}

export class ImmersiveScene {
    constructor(sphere) {
        this.sphere = sphere;
        this.renderer = new WebGLRenderer({ canvas: sphere.canvas, context: sphere.makeContext() });
        // The page's two shaders are fixed and known to build.
        this.renderer.debug.checkShaderErrors = false;
        this.renderer.setClearColor(new Color(sphere.background), 1);
        this.scene = new Scene();
        this.camera = new PerspectiveCamera(90, 1, NEAR, FAR);
        this.texture = makeVideoTexture(sphere.video);
        const material = new ShaderMaterial({
            uniforms: { tDiffuse: { value: this.texture } },
            vertexShader: sphere.shaders.vertex,
            fragmentShader: sphere.shaders.fragment,
        });
        this.mesh = new Mesh(new BufferGeometry(), material);
        this.mesh.frustumCulled = false;
        this.mesh.matrixAutoUpdate = false;
        // Everything that lies in a direction (the picture, the hot spot markers)
        // turns together.
        this.world = new Group();
        this.world.add(this.mesh);
        this.scene.add(this.world);
    }

    get xr() {
        return this.renderer.xr;
    }

    // The page drew into the context since the last session: three.js forgets
    // what it thought was set, and takes the sphere as the page has it now.
    begin(lon) {
        this.renderer.resetState();
        if (this.mesh.userData.source !== this.sphere.geometry) {
            this.mesh.geometry.dispose();
            this.mesh.geometry = threeGeometry(this.sphere.geometry);
            this.mesh.userData.source = this.sphere.geometry;
        }
        this.renderer.autoClear = this.sphere.clearNeeded;
        this.faceForward(lon);
    }

    // Turns the world so that lon lies straight ahead (-z), where a headset's
    // wearer looks when the session starts; null undoes it.
    faceForward(lon) {
        this.world.rotation.y = lon === null ? 0 : ((lon - 90) * Math.PI) / 180;
    }

    takeVideoFrame() {
        this.texture.needsUpdate = true;
    }

    render() {
        this.renderer.render(this.scene, this.camera);
    }
}
