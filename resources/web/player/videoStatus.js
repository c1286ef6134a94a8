// What the viewer sees while the video cannot be drawn: a small loading
// indicator until the first frame, and a plain message over the view when the
// video cannot be played at all (a decoding error, no source the browser can
// play, a video whose picture the browser cannot decode) instead of a black
// sphere under a running clock. Self-contained: its looks are set here.

const MEDIA_ERR_NETWORK = 2;
const NETWORK_NO_SOURCE = 3;
const HAVE_METADATA = 1;
const HAVE_CURRENT_DATA = 2;
const SPINNER_DELAY_MS = 1500;

export const VIDEO_MESSAGES = {
    network: 'The video could not be loaded. Check the connection and reload the page.',
    decode: 'This video cannot be played: the browser cannot decode it.',
    source: 'This video cannot be played: this browser plays none of its formats.',
    picture: 'This video cannot be shown: this browser decodes its sound but not its picture.',
};

// The problem a video element shows, or null while it may still play.
export function videoProblem(video) {
    if (video.error) {
        if (video.error.code === MEDIA_ERR_NETWORK) return 'network';
        return video.error.code === 4 ? 'source' : 'decode';
    }
    // The element reads NETWORK_NO_SOURCE both before it has tried a source and
    // once every source has failed; only then has it named one in currentSrc.
    if (video.networkState === NETWORK_NO_SOURCE && video.currentSrc && video.readyState < HAVE_METADATA) return 'source';
    if (video.readyState >= HAVE_METADATA && (video.videoWidth === 0 || video.videoHeight === 0)) return 'picture';
    return null;
}

const STYLE = `
#qm-video-status { position: absolute; left: 0; top: 0; right: 0; bottom: 0; z-index: 16; display: flex;
  align-items: center; justify-content: center; pointer-events: none; }
#qm-video-status[data-state=""] { display: none; }
#qm-video-spinner { width: 28px; height: 28px; border-radius: 50%; border: 3px solid rgba(255, 255, 255, 0.25);
  border-top-color: #fff; animation: qm-video-spin 0.9s linear infinite; }
@keyframes qm-video-spin { to { transform: rotate(360deg); } }
#qm-video-message { max-width: 80%; padding: 10px 14px; border-radius: 4px; background: rgba(0, 0, 0, 0.8);
  color: #fff; font: 14px/20px Arial, Helvetica, sans-serif; text-align: center; pointer-events: auto; }
`;

export function watchVideoStatus({ document, video, container }) {
    if (!video || !container) return;
    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.appendChild(style);
    const overlay = document.createElement('div');
    overlay.id = 'qm-video-status';
    overlay.setAttribute('role', 'status');
    container.appendChild(overlay);

    const show = (state, child) => {
        overlay.dataset.state = state;
        overlay.replaceChildren(...(child ? [child] : []));
    };
    const update = () => {
        const problem = videoProblem(video);
        if (problem) {
            const message = document.createElement('div');
            message.id = 'qm-video-message';
            message.textContent = VIDEO_MESSAGES[problem];
            show('problem', message);
        } else if (video.readyState >= HAVE_CURRENT_DATA) {
            show('', null);
        } else if (overlay.dataset.state !== 'loading') {
            show('loading', null);
            // Only a slow start gets the turning indicator: each of its frames is
            // drawn while the graphics set-up and the video's decoding need the
            // processor.
            const wait = document.defaultView?.setTimeout ?? setTimeout;
            wait(() => {
                if (overlay.dataset.state !== 'loading' || overlay.firstChild) return;
                const spinner = document.createElement('div');
                spinner.id = 'qm-video-spinner';
                overlay.replaceChildren(spinner);
            }, SPINNER_DELAY_MS);
        }
    };
    for (const event of ['loadstart', 'loadedmetadata', 'loadeddata', 'canplay', 'playing', 'error', 'emptied', 'stalled']) {
        video.addEventListener(event, update);
    }
    // A source the browser cannot play reports its error on the source element.
    for (const source of video.querySelectorAll('source')) source.addEventListener('error', update);
    update();
}
