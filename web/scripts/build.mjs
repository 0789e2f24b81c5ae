// Builds the static site: node scripts/build.mjs MODULE_DIR SITE_DIR, where
// MODULE_DIR holds tablomat-web.js and .wasm as emscripten made them.
import { build } from 'esbuild';
import { copyFile, mkdir, rm } from 'node:fs/promises';
import { join, resolve } from 'node:path';

const [moduleDir, siteDir] = process.argv.slice(2).map((path) => resolve(path));
if (!moduleDir || !siteDir) {
  console.error('usage: node scripts/build.mjs MODULE_DIR SITE_DIR');
  process.exit(2);
}
const here = new URL('..', import.meta.url).pathname;

// Afresh, so that no chunk of an earlier build stays behind.
await rm(siteDir, { recursive: true, force: true });
await mkdir(siteDir, { recursive: true });
const common = { bundle: true, format: 'esm', target: 'es2022', minify: true, sourcemap: true, logLevel: 'warning' };
// Graphviz, imported when the first drawing needs it, goes to a chunk of its own.
await build({
  ...common,
  entryPoints: { app: join(here, 'src/main.ts') },
  outdir: siteDir,
  splitting: true,
  chunkNames: 'chunks/[name]-[hash]',
});
await build({
  ...common,
  entryPoints: [join(here, 'src/worker.ts')],
  outfile: join(siteDir, 'worker.js'),
  external: ['./tablomat-web.js'],
});
for (const file of ['index.html', 'style.css']) await copyFile(join(here, 'site', file), join(siteDir, file));
for (const file of ['tablomat-web.js', 'tablomat-web.wasm']) await copyFile(join(moduleDir, file), join(siteDir, file));
