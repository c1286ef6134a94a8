// Runs each plain configuration script and its scrambled form in a fresh
// context, as the player page does (the hot spot arrays already declared),
// and checks that both define the same values.
'use strict';
const fs = require('fs');
const path = require('path');
const vm = require('vm');
const assert = require('assert');

const NAMES = ['fov', 'OS_FPS', 'nSegmentsWidth', 'nSegmentsHeight', 'vertmax', 'lon', 'lat',
  'RENDER_X', 'RENDER_Y', 'OS_VOLUME', 'OS_STAT', 'OS_MODE', 'OS_COLOR', 'mousespeed',
  'control_bar', 'OS_CONTROL', 'OS_WIN_POS_W', 'OS_WIN_POS_H', 'OS_FULL_SCREEN', 'posY',
  'OS_SP2', 'OS_BLOCK_FULL_SCREEN', 'OS_HOTSPOTS', 'HotSpotItem_pos', 'HotSpotItem_time',
  'HotSpotItem_yaw', 'HotSpotItem_title', 'HotSpotItem_link', 'HotSpotItem_self'];

function run(file, encoding) {
  const context = {
    window: { innerWidth: 1280, innerHeight: 720 },
    HotSpotItem_pos: [], HotSpotItem_time: [], HotSpotItem_yaw: [],
    HotSpotItem_title: [], HotSpotItem_link: [], HotSpotItem_self: [],
  };
  vm.createContext(context);
  vm.runInContext(fs.readFileSync(file, encoding), context, { filename: file });
  // A plain copy, so values from different contexts compare by content.
  const values = {};
  for (const name of NAMES) values[name] = context[name];
  return { values: JSON.parse(JSON.stringify(values)), context };
}

const dir = process.argv[2];
const cases = fs.readdirSync(dir).filter((f) => f.endsWith('.plain.js'));
assert.ok(cases.length >= 3, 'no cases written');
for (const plainName of cases) {
  const name = plainName.slice(0, -'.plain.js'.length);
  // The plain file is UTF-8; the scrambled one must be pure ASCII.
  const plain = run(path.join(dir, plainName), 'utf8').values;

  const scrambledFile = path.join(dir, name + '.scrambled.js');
  const bytes = fs.readFileSync(scrambledFile);
  assert.ok(bytes.every((b) => b < 0x80), `${name}: scrambled file is not pure ASCII`);
  const scrambled = run(scrambledFile, 'latin1');

  assert.strictEqual(typeof plain.fov, 'number', `${name}: plain script defined nothing`);
  assert.strictEqual(plain.HotSpotItem_pos.length, 10, `${name}: arrays not filled`);
  assert.deepStrictEqual(scrambled.values, plain, `${name}: scrambled script differs`);
  assert.strictEqual(typeof scrambled.context.unknown, 'function', `${name}: decoy missing`);
  console.log(`${name}: ${NAMES.length} values equal`);
}

// Titles that the squeeze would have changed reach the player unchanged.
const tricky = run(path.join(dir, 'tricky_titles.scrambled.js'), 'latin1').values;
assert.deepStrictEqual(tricky.HotSpotItem_title.slice(2, 10), [
  'A - B', 'Room (1)', 'Зал №1 — вход', 'say "hi" \\ </script>', 'a   b\u2028c 😀',
  'x = y, z; (w) { } ! * / + < >', '', 'g.html']);
assert.strictEqual(tricky.HotSpotItem_link[2], 'http://example.org/a?x=1&y=2#top');
assert.deepStrictEqual(tricky.HotSpotItem_yaw.slice(2, 8), [-180, 1, 0, -135, -90, 90]);
assert.strictEqual(tricky.OS_HOTSPOTS, 7);
const full = run(path.join(dir, 'full_window.scrambled.js'), 'latin1').values;
assert.strictEqual(full.RENDER_X, 1280);
assert.strictEqual(full.posY, 46);
assert.strictEqual(full.OS_CONTROL, 0);
console.log('scrambled configuration scripts run as their plain forms');
