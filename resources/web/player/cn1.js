// First player script, run in the page head before the body exists. The
// configuration script (js/ctr/cn0.js) fills these arrays without declaring them.
import { declareHotSpotArrays } from './hotSpotArrays.js';

declareHotSpotArrays(globalThis);
