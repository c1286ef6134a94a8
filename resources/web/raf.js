// Animation-frame fallback for browsers without requestAnimationFrame: a timer
// whose delay in milliseconds is the configured OS_FPS value.
(function (w) {
    var vendors = ['webkit', 'moz', 'ms', 'o'];
    for (var i = 0; i < vendors.length && !w.requestAnimationFrame; ++i) {
        w.requestAnimationFrame = w[vendors[i] + 'RequestAnimationFrame'];
        w.cancelAnimationFrame =
            w[vendors[i] + 'CancelAnimationFrame'] || w[vendors[i] + 'CancelRequestAnimationFrame'];
    }
    if (!w.requestAnimationFrame) {
        w.requestAnimationFrame = function (callback) {
            var delay = typeof w.OS_FPS === 'number' && w.OS_FPS > 0 ? w.OS_FPS : 15;
            return w.setTimeout(function () {
                callback(w.performance && w.performance.now ? w.performance.now() : Date.now());
            }, delay);
        };
    }
    if (!w.cancelAnimationFrame) {
        w.cancelAnimationFrame = function (id) {
            w.clearTimeout(id);
        };
    }
})(window);
