// Pictures of a published package for the user guide: the presentation page
// with its start picture and the player with hot spots on the video, taken in
// Debian's Chromium the way the browser tests open packages.
//
//   QM_QUILLMARK=build/quillmark node tools/manual/player-shots.mjs PACKAGE_DIR OUT_DIR
import { join } from 'node:path';

import { dismissTitle, holdAt, launch, openPlayer, serve } from '../../tests/web/lib/harness.mjs';

const [packageDir, outDir] = process.argv.slice(2);
if (!packageDir || !outDir) {
    console.error('usage: node tools/manual/player-shots.mjs PACKAGE_DIR OUT_DIR');
    process.exit(2);
}

const server = await serve(packageDir);
const browser = await launch();
try {
    const context = await browser.newContext({ viewport: { width: 1100, height: 780 } });
    const page = await context.newPage();
    await page.goto(server.base + 'index.html', { waitUntil: 'networkidle' });
    await page.screenshot({ path: join(outDir, 'presentation.png') });
    await context.close();

    // Two seconds in, the demo's first two hot spots (0° and 90°) are shown.
    const player = await openPlayer(browser, server, { viewport: { width: 1024, height: 640 } });
    await dismissTitle(player.page);
    await holdAt(player.page, 2);
    await player.page.screenshot({ path: join(outDir, 'player.png') });
    if (player.problems.length) throw new Error(player.problems.join('\n'));
    await player.context.close();
} finally {
    await browser.close();
    await server.stop();
}
