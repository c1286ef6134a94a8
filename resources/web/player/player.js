// The player: puts the view, the buttons, the hot spots and the control panel
// together and carries out the page's commands.
import { BlackAreas } from './blackAreas.js';
import { Buttons, showPressed } from './buttons.js';
import { ControlPanel } from './controlPanel.js';
import { FrameScheduler } from './frameScheduler.js';
import { HotSpots } from './hotSpots.js';
import { attachKeyboardInput } from './keyboardInput.js';
import { placeElement, playerRect } from './layout.js';
import { startPlayback } from './playback.js';
import { attachPointerInput } from './pointerInput.js';
import { SphereRenderer } from './sphereRenderer.js';
import { ViewState, ZOOM_STEP_DEGREES } from './viewState.js';

export class Player {
    constructor({ window, options }) {
        this.window = window;
        this.document = window.document;
        this.options = options;
        this.fullScreen = false;
        this.video = this.document.getElementById('video');
        this.container = this.document.getElementById('container');
        this.view = new ViewState(options);
        this.sphere = new SphereRenderer({
            document: this.document,
            container: this.container,
            video: this.video,
            options,
        });
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
            title: () => {
                this.buttons.hideTitle();
                this.layout();
            },
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
        attachPointerInput({
            element: this.sphere.canvas,
            view: this.view,
            mouseSpeed: this.options.mouseSpeed,
            onActivity: () => this.onViewerActivity(),
        });
        attachKeyboardInput({
            element: this.container,
            view: this.view,
            togglePlay: () => this.controls.togglePlay(),
        });
        this.watchVideo();
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

    // Once the viewer takes hold of the view the title panel makes way.
    onViewerActivity() {
        this.container.focus({ preventScroll: true });
        if (!this.buttons.titleShown) return;
        this.buttons.hideTitle();
        this.layout();
    }

    watchVideo() {
        const video = this.video;
        const onFrame = () => {
            this.scheduler.invalidate();
            if (video.requestVideoFrameCallback) video.requestVideoFrameCallback(onFrame);
        };
        if (video.requestVideoFrameCallback) video.requestVideoFrameCallback(onFrame);
        for (const name of ['loadeddata', 'seeked', 'play', 'pause', 'timeupdate']) {
            video.addEventListener(name, () => this.scheduler.invalidate());
        }
        video.addEventListener('volumechange', () => this.soundChanged());
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
        const options = { ...this.options, fillWindow: this.options.fillWindow || this.fullScreen };
        this.rect = playerRect(options, this.window);
        const rect = this.rect;
        placeElement(this.container, rect.left, rect.top, rect.width, rect.height);
        this.sphere.setSize(rect.width, rect.height);
        this.controls.layout(rect);
        this.buttons.layout(rect, this.controls.height);
        if (this.stats) placeElement(this.stats.dom, rect.left, rect.top);
        this.scheduler.invalidate();
    }

    draw() {
        this.blackAreas?.check();
        this.sphere.draw(this.view);
        this.hotSpots.update({
            seconds: this.video.currentTime,
            rect: this.rect,
            project: (lon, lat) => this.sphere.project(lon, lat),
        });
        this.stats?.update();
    }
}
