// "mm:ss" for the time display; hours fold into the minutes ("75:03").
export function timeText(seconds) {
    const whole = Number.isFinite(seconds) && seconds > 0 ? Math.floor(seconds) : 0;
    const minutes = Math.floor(whole / 60);
    const rest = whole % 60;
    return `${String(minutes).padStart(2, '0')}:${String(rest).padStart(2, '0')}`;
}
