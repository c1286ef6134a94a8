// The global functions the player page calls from its inline handlers. Each one
// forwards to the player registered under PLAYER_KEY by cn3.js.
export const PLAYER_KEY = '__quillmarkPlayer';

const BUTTON_COMMANDS = {
    cTitle: 'title',
    cLeft: 'panLeft',
    cUp: 'panUp',
    cStop: 'stopPanning',
    cDown: 'panDown',
    cRight: 'panRight',
    cZoomIn: 'zoomIn',
    cZoomOut: 'zoomOut',
    cRestart: 'restart',
    cMuteON: 'muteOn',
    cMuteOFF: 'muteOff',
};

export const HOT_SPOT_FUNCTION_COUNT = 10;

export function installPageFunctions(scope) {
    const forward = (command, ...args) => {
        const player = scope[PLAYER_KEY];
        if (player) player.command(command, ...args);
    };
    for (const [name, command] of Object.entries(BUTTON_COMMANDS)) {
        scope[name] = (element) => forward(command, element);
    }
    for (let slot = 1; slot <= HOT_SPOT_FUNCTION_COUNT; ++slot) {
        scope[`cHS${slot}`] = (element) => forward('hotSpot', slot, element);
    }
    scope.fullScreenOn = () => forward('fillWindow');
}
