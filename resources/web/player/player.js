// The player: puts the view, the buttons, the hot spots and the control panel
// together and carries out the page's commands.
import { BlackAreas } from './blackAreas.js';
import { Buttons, showPressed } from './buttons.js';
import { ControlPanel } from './controlPanel.js';
import { DeviceOrientationView } from './deviceOrientation.js';
import { FrameScheduler } from './frameScheduler.js';
import { HotSpots } from './hotSpots.js';
import { ImmersiveView } from './immersiveView.js';
import { attachKeyboardInput } from './keyboardInput.js';
import { coarsePointer, placeElement, playerRect } from './layout.js';
import { createView, FlatView } from './noWebGl.js';
import { startPlayback } from './playback.js';
import { attachPointerInput } from './pointerInput.js';
import { SphereRenderer } from './sphereRenderer.js';
import { ViewState, ZOOM_STEP_DEGREES } from './viewState.js';

// The title panel stays this long after the first picture, unless the viewer
// does anything first.
const TITLE_SECONDS = 4;
const FIRST_INTERACTIONS = ['pointerdown', 'keydown', 'wheel', 'touchstart'];
// The buttons' pictures load once placed; placed with the first video picture,
// they do not hold up the video's start. A video slower than this, or one that
// fails, gets its buttons anyway.
const BUTTONS_LATEST_SECONDS = 2;

export class Player {
    constructor({ window, options }) {
        this.window = window;
        this.document = window.document;
        this.options = options;
        this.fullScreen = false;
        this.buttonsPlaced = false;
        this.video = this.document.getElementById('video');
        this.container = this.document.getElementById('container');
        this.view = new ViewState(options);
        this.viewParts = { document: this.document, container: this.container, video: this.video, options };
        // Without WebGL the video is shown flat under a message (noWebGl.js).
        this.sphere = createView(
            () => new SphereRenderer({ ...this.viewParts, onNoWebGl: () => this.showFlat() }),
            this.viewParts,
        );
        this.buttons = new Buttons(this.document);
        this.hotSpots = new HotSpots({ document: this.document, window, hotSpots: options.hotSpots });
        this.controls = new ControlPanel({
            document: this.document,
            video: this.video,
            options,
            toggleFullScreen: () => this.toggleFullScreen(),
        });
        this.blackAreas = options.blackAreas
            ? new BlackAreas({
                  video: this.video,
                  document: this.document,
                  onBand: (band) => {
                      this.sphere.setBand(band);
                      this.scheduler.invalidate();
                  },
              })
            : null;
        this.stats = this.makeStats();
        this.scheduler = new FrameScheduler({
            window,
            maxFps: options.maxFps,
            draw: () => this.draw(),
            advance: (seconds) => this.advance(seconds),
        });
        this.view.onChange = () => this.scheduler.invalidate();
        this.orientation = new DeviceOrientationView({
            window,
            view: this.view,
            touch: coarsePointer(window),
            onShow: () => this.layout(),
        });
        this.buttons.addTool(this.orientation.button, (height) => height);
        this.immersive = new ImmersiveView({
            window,
            sphere: this.sphere,
            hotSpots: this.hotSpots,
            video: this.video,
            view: this.view,
            onPresenting: () => this.layout(),
        });
        this.buttons.addTool(this.immersive.button, (height) => 2.2 * height);
        this.commands = this.makeCommands();
    }

    makeStats() {
        const Stats = this.window.Stats;
        if (!this.options.showStats || typeof Stats !== 'function') return null;
        const stats = new Stats();
        stats.dom.id = 'qm-stats';
        this.document.body.appendChild(stats.dom);
        return stats;
    }

    makeCommands() {
        const view = this.view;
        return {
            title: () => this.buttons.hideTitle(),
            panLeft: (element) => this.pan(element, -1, 0),
            panRight: (element) => this.pan(element, 1, 0),
            panUp: (element) => this.pan(element, 0, 1),
            panDown: (element) => this.pan(element, 0, -1),
            stopPanning: (element) => {
                showPressed(element);
                view.stopPanning();
            },
            zoomIn: (element) => {
                showPressed(element);
                view.zoomBy(-ZOOM_STEP_DEGREES);
            },
            zoomOut: (element) => {
                showPressed(element);
                view.zoomBy(ZOOM_STEP_DEGREES);
            },
            restart: (element) => {
                showPressed(element);
                this.video.currentTime = 0;
                this.video.play().catch(() => {});
            },
            muteOn: () => {
                this.video.muted = true;
                this.soundChanged();
            },
            muteOff: () => {
                this.video.muted = false;
                if (this.video.volume === 0) this.video.volume = this.options.volume || 0.5;
                this.soundChanged();
            },
            hotSpot: (slot) => this.hotSpots.follow(slot),
            fillWindow: () => this.layout(),
        };
    }

    command(name, ...args) {
        this.commands[name]?.(...args);
    }

    pan(element, lonSign, latSign) {
        showPressed(element);
        this.view.startPanning(lonSign, latSign);
    }

    start() {
        this.container.tabIndex = 0;
        this.container.setAttribute('role', 'application');
        this.container.setAttribute('aria-label', '360° video player');
        this.started = true;
        this.attachViewInput();
        attachKeyboardInput({
            element: this.container,
            view: this.view,
            togglePlay: () => this.controls.togglePlay(),
        });
        this.watchVideo();
        this.watchFirstInteraction();
        this.window.setTimeout(() => this.placeButtons(), BUTTONS_LATEST_SECONDS * 1000);
        this.window.addEventListener('resize', () => this.layout());
        this.document.addEventListener('fullscreenchange', () => {
            this.fullScreen = Boolean(this.document.fullscreenElement);
            this.layout();
        });
        this.layout();
        startPlayback(this.video, {
            volume: this.options.volume,
            onRefusedSound: () => this.showMuted(true),
        });
    }

    attachViewInput() {
        attachPointerInput({
            element: this.sphere.canvas,
            view: this.view,
            mouseSpeed: this.options.mouseSpeed,
            onActivity: () => this.onViewerActivity(),
        });
    }

    // The renderer found no WebGL: the video is shown flat instead.
    showFlat() {
        if (this.sphere.flat) return;
        this.sphere.canvas.remove();
        this.sphere = new FlatView(this.viewParts);
        this.immersive.button.hidden = true;
        if (this.started) this.attachViewInput();
        this.layout();
    }

    // Keys reach the view once the viewer takes hold of it.
    onViewerActivity() {
        this.container.focus({ preventScroll: true });
    }

    // The title panel makes way at the first thing the viewer does.
    watchFirstInteraction() {
        const onFirst = () => {
            for (const name of FIRST_INTERACTIONS) this.document.removeEventListener(name, onFirst, true);
            this.buttons.hideTitle();
        };
        for (const name of FIRST_INTERACTIONS) {
            this.document.addEventListener(name, onFirst, { capture: true, passive: true });
        }
    }

    watchVideo() {
        const video = this.video;
        // A new picture is drawn in the same rendering step that reports it.
        // The next one is asked for once this one is drawn: a video with more
        // pictures a second than the frame cap allows would otherwise call
        // back for every picture the cap then refuses (a headset takes them all).
        if (video.requestVideoFrameCallback) {
            this.onVideoFrame = () => {
                this.frameCallbackArmed = false;
                this.sphere.takeVideoFrame();
                if (this.immersive.presenting) this.armFrameCallback();
                else this.scheduler.drawNow();
            };
            this.armFrameCallback();
        } else {
            // Without frame callbacks the time is the only sign of progress.
            video.addEventListener('timeupdate', () => this.scheduler.invalidate());
        }
        for (const name of ['seeked', 'play', 'pause']) {
            video.addEventListener(name, () => this.scheduler.invalidate());
        }
        // The first picture is drawn the moment it is decoded; then the page's
        // pictures that are not placed yet may load as well.
        const firstPicture = () => {
            this.sphere.takeVideoFrame();
            this.scheduler.drawNow();
            this.window.setTimeout(() => this.buttons.hideTitle(), TITLE_SECONDS * 1000);
            for (const image of this.document.images) image.loading = 'eager';
            this.placeButtons();
        };
        if (video.readyState >= 2) firstPicture();
        else video.addEventListener('loadeddata', firstPicture, { once: true });
        video.addEventListener('volumechange', () => this.soundChanged());
    }

    armFrameCallback() {
        if (this.frameCallbackArmed || !this.onVideoFrame) return;
        this.frameCallbackArmed = true;
        this.video.requestVideoFrameCallback(this.onVideoFrame);
    }

    placeButtons() {
        if (this.buttonsPlaced) return;
        this.buttonsPlaced = true;
        this.layout();
    }

    // The media element reports a change of sound with a later event; a command
    // shows its effect at once.
    soundChanged() {
        this.showMuted(false);
        this.controls.refresh();
    }

    showMuted(askForSound) {
        const wanted = askForSound || (this.buttons.unmuteWanted && this.video.muted);
        this.buttons.setMuted(this.video.muted, wanted);
        this.layout();
    }

    get isPlaying() {
        return !this.video.paused && !this.video.ended;
    }

    advance(seconds) {
        this.view.advance(seconds);
        // Without frame callbacks a playing video is redrawn at the capped rate.
        return this.view.isPanning || (this.isPlaying && !this.video.requestVideoFrameCallback);
    }

    toggleFullScreen() {
        if (this.options.fullScreenLocked) return;
        const document = this.document;
        if (document.fullscreenElement) {
            document.exitFullscreen?.().catch(() => {});
        } else {
            document.documentElement.requestFullscreen?.().catch(() => {});
        }
    }

    layout() {
        if (this.immersive?.presenting) return;
        const options = { ...this.options, fillWindow: this.options.fillWindow || this.fullScreen };
        this.rect = playerRect(options, this.window);
        const rect = this.rect;
        const touch = coarsePointer(this.window);
        placeElement(this.container, rect.left, rect.top, rect.width, rect.height);
        this.sphere.setSize(rect.width, rect.height);
        this.controls.layout(rect, touch);
        if (this.buttonsPlaced) this.buttons.layout(rect, this.controls.height, touch);
        if (this.stats) placeElement(this.stats.dom, rect.left, rect.top);
        this.scheduler.invalidate();
    }

    draw() {
        this.armFrameCallback();
        // A headset draws at its own pace (immersiveView.js).
        if (this.immersive.presenting) return;
        this.blackAreas?.check();
        this.sphere.draw(this.view);
        this.controls.refreshTime();
        this.hotSpots.update({
            seconds: this.video.currentTime,
            rect: this.rect,
            project: (lon, lat) => this.sphere.project(lon, lat),
        });
        this.stats?.update();
    }
}
