// Follows the picture band of the playing video in black-areas mode: samples a
// few frames spread over the first seconds and widens the band to every row seen
// holding picture, so a dark opening frame cannot shrink it for good.
import { FULL_BAND, pictureRows, sameBand, sampleRowPeaks, sphereBand } from './pictureBand.js';

const SAMPLES = 6;
const SECONDS_BETWEEN_SAMPLES = 0.5;

export class BlackAreas {
    constructor({ video, document, onBand }) {
        this.video = video;
        this.document = document;
        this.onBand = onBand;
        this.band = FULL_BAND;
        this.rows = null;
        this.rowCount = 0;
        this.samplesTaken = 0;
        this.lastSampleTime = -Infinity;
    }

    // Called for every drawn frame; cheap once the samples are taken.
    check() {
        if (this.samplesTaken >= SAMPLES) return;
        const video = this.video;
        if (video.readyState < 2) return;
        if (Math.abs(video.currentTime - this.lastSampleTime) < SECONDS_BETWEEN_SAMPLES) return;
        this.lastSampleTime = video.currentTime;
        ++this.samplesTaken;
        const peaks = sampleRowPeaks(video, this.document);
        const frameShape = sphereBand(video.videoWidth, video.videoHeight, null, 1);
        if (!peaks) {
            this.publish(frameShape);
            return;
        }
        const rows = pictureRows(peaks);
        if (!rows) return;
        this.rowCount = peaks.length;
        this.rows = this.rows
            ? { top: Math.min(this.rows.top, rows.top), bottom: Math.max(this.rows.bottom, rows.bottom) }
            : rows;
        this.publish(sphereBand(video.videoWidth, video.videoHeight, this.rows, this.rowCount));
    }

    publish(band) {
        if (sameBand(band, this.band)) return;
        this.band = band;
        this.onBand(band);
    }
}
