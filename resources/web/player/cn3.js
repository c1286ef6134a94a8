// Last player script, run when every element of the page exists: starts the player.
import { readOptions } from './options.js';
import { PLAYER_KEY } from './pageFunctions.js';
import { Player } from './player.js';
import { watchVideoStatus } from './videoStatus.js';

function start() {
    const player = new Player({ window: globalThis, options: readOptions(globalThis) });
    globalThis[PLAYER_KEY] = player;
    player.start();
    watchVideoStatus({ document: globalThis.document, video: player.video, container: player.container });
}

start();
