// Builds the browser side of the published package:
//   js/build/Three.js  three.js reduced to the classes the player imports, global THREE
//   js/Stats.js        the Stats.js panel, global Stats
//   js/ctr/cn1.js .. cn3.js  our player modules, one bundle per load point of the page
// Usage: node tools/web/build.mjs --out DIR
import { build } from 'esbuild';
import { copyFile, mkdir, readFile, readdir, rename, writeFile } from 'node:fs/promises';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const playerDir = join(repoRoot, 'resources/web/player');
const entryPoints = ['cn1', 'cn2', 'cn3'];

function outputDirFromArgs(argv) {
    const at = argv.indexOf('--out');
    if (at < 0 || !argv[at + 1]) {
        throw new Error('usage: node tools/web/build.mjs --out DIR');
    }
    return resolve(argv[at + 1]);
}

// The names the player takes from 'three', gathered from its import lines, so the
// library bundle always holds exactly what the player uses.
async function threeNamesUsedByPlayer() {
    const names = new Set();
    const importLine = /import\s*\{([^}]*)\}\s*from\s*['"]three['"]/g;
    for (const file of await readdir(playerDir)) {
        if (!file.endsWith('.js')) continue;
        const source = await readFile(join(playerDir, file), 'utf8');
        for (const match of source.matchAll(importLine)) {
            for (const name of match[1].split(',')) {
                const trimmed = name.trim();
                if (trimmed) names.add(trimmed.split(/\s+as\s+/)[0]);
            }
        }
    }
    return [...names].sort();
}

// Writes beside the target and renames, so a failed build never leaves half a file.
async function writeAtomically(path, bytes) {
    await mkdir(dirname(path), { recursive: true });
    const temporary = `${path}.tmp-${process.pid}`;
    await writeFile(temporary, bytes);
    await rename(temporary, path);
}

async function bundleThree(outDir) {
    const names = await threeNamesUsedByPlayer();
    if (names.length === 0) throw new Error('the player imports nothing from three');
    const result = await build({
        stdin: {
            contents: `export { ${names.join(', ')} } from 'three';`,
            resolveDir: repoRoot,
            sourcefile: 'three-subset.js',
        },
        bundle: true,
        format: 'iife',
        globalName: 'THREE',
        minify: true,
        target: 'es2020',
        legalComments: 'inline',
        write: false,
        logLevel: 'warning',
    });
    await writeAtomically(join(outDir, 'js/build/Three.js'), result.outputFiles[0].contents);
}

// Inside our bundles 'three' is the page's global THREE (js/build/Three.js), loaded
// before cn3.js, so the library is never bundled twice.
const threeFromPageGlobal = {
    name: 'three-from-page-global',
    setup(pluginBuild) {
        pluginBuild.onResolve({ filter: /^three$/ }, () => ({ path: 'three', namespace: 'page-global' }));
        pluginBuild.onLoad({ filter: /.*/, namespace: 'page-global' }, () => ({
            contents: 'module.exports = globalThis.THREE;',
            loader: 'js',
        }));
    },
};

async function bundlePlayer(outDir, name) {
    const result = await build({
        entryPoints: [join(playerDir, `${name}.js`)],
        bundle: true,
        format: 'iife',
        minify: true,
        target: 'es2020',
        plugins: [threeFromPageGlobal],
        write: false,
        logLevel: 'warning',
    });
    await writeAtomically(join(outDir, `js/ctr/${name}.js`), result.outputFiles[0].contents);
}

async function copyStats(outDir) {
    const target = join(outDir, 'js/Stats.js');
    await mkdir(dirname(target), { recursive: true });
    const temporary = `${target}.tmp-${process.pid}`;
    await copyFile(join(repoRoot, 'node_modules/stats.js/build/stats.min.js'), temporary);
    await rename(temporary, target);
}

async function main() {
    const outDir = outputDirFromArgs(process.argv);
    await Promise.all([
        bundleThree(outDir),
        copyStats(outDir),
        ...entryPoints.map((name) => bundlePlayer(outDir, name)),
    ]);
}

main().catch((error) => {
    console.error(`web build failed: ${error.message}`);
    process.exit(1);
});
