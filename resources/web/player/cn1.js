// First player script, run in the page head before the body exists. The
// configuration script (js/ctr/cn0.js) fills these arrays without declaring them.
// It also starts the graphics set-up, which then runs while the page loads.
import { warmUpGraphics } from './earlyContext.js';
import { declareHotSpotArrays } from './hotSpotArrays.js';

declareHotSpotArrays(globalThis);
warmUpGraphics(globalThis);
