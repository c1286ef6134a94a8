// Starting the video. Browsers may refuse to start a video with sound before the
// viewer has touched the page; the player then starts it muted and asks for the
// sound with a visible unmute button rather than showing a still black frame.

export async function startPlayback(video, { volume, onRefusedSound }) {
    video.volume = volume;
    // Phones would otherwise take the video out of the page into their own player.
    video.playsInline = true;
    video.setAttribute('playsinline', '');
    try {
        await video.play();
        return 'playing';
    } catch (error) {
        if (error?.name !== 'NotAllowedError' || video.muted) return 'stopped';
    }
    video.muted = true;
    try {
        await video.play();
        onRefusedSound();
        return 'muted';
    } catch {
        return 'stopped';
    }
}
