// Second player script, run after the buttons and hot spot images exist. It
// installs the functions the page's handlers call; they reach the player once
// cn3.js has started it and do nothing before.
import { declareHotSpotArrays } from './hotSpotArrays.js';
import { installPageFunctions } from './pageFunctions.js';

declareHotSpotArrays(globalThis);
installPageFunctions(globalThis);
