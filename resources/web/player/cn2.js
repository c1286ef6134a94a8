// Second player script, run after the buttons and hot spot images exist. It
// installs the functions the page's handlers call; they reach the player once
// cn3.js has started it and do nothing before. It also asks for the drawing
// context, so that it is ready by the time three.js has loaded.
import { prepareContext } from './earlyContext.js';
import { declareHotSpotArrays } from './hotSpotArrays.js';
import { installPageFunctions } from './pageFunctions.js';

declareHotSpotArrays(globalThis);
installPageFunctions(globalThis);
prepareContext(globalThis);
