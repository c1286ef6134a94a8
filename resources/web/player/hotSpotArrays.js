// The six per-slot arrays the configuration script assigns by index.
export const HOT_SPOT_SLOTS = 10;

export const HOT_SPOT_ARRAY_NAMES = [
    'HotSpotItem_pos',
    'HotSpotItem_time',
    'HotSpotItem_yaw',
    'HotSpotItem_title',
    'HotSpotItem_link',
    'HotSpotItem_self',
];

export function declareHotSpotArrays(scope) {
    for (const name of HOT_SPOT_ARRAY_NAMES) {
        if (!Array.isArray(scope[name])) scope[name] = [];
    }
}
