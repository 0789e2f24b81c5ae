// What the tests of the web edition share: where the builds are, the tools
// run as a user runs them, a static server for the site on localhost.
import { spawn, spawnSync } from 'node:child_process';
import { availableParallelism } from 'node:os';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { existsSync } from 'node:fs';
import { extname, join, normalize, resolve } from 'node:path';

export const root = resolve(new URL('../..', import.meta.url).pathname);
export const webBuild = resolve(process.env.TABLOMAT_WEB_BUILD ?? join(root, 'build-web'));
export const nodeCli = join(webBuild, 'cli', 'tablomat-cli.js');
export const nativeCli = process.env.TABLOMAT_NATIVE_CLI ?? join(root, 'build', 'cli', 'tablomat-cli');
export const site = join(webBuild, 'site');

function outcome(status, stdout, stderr) {
  return { status, stdout: stdout.toString('utf8'), stderr: stderr.toString('utf8'), stdoutBytes: stdout, stderrBytes: stderr };
}

function run(command, args, input) {
  const result = spawnSync(command, args, { input: input === undefined ? undefined : Buffer.from(input),
                                            maxBuffer: 256 << 20, timeout: 120_000 });
  if (result.error) throw result.error;
  return outcome(result.status, result.stdout, result.stderr);
}

export const runNode = (args, input) => run(process.execPath, [nodeCli, ...args], input);
export const runNative = (args, input) => run(nativeCli, args, input);

// Runs as many programs at a time as the machine has cores.
let running = 0;
const waiting = [];
async function slot() {
  if (running >= Math.max(2, availableParallelism())) await new Promise((resolve) => waiting.push(resolve));
  ++running;
}
function release() {
  --running;
  waiting.shift()?.();
}

function start(command, args) {
  return (async () => {
    await slot();
    try {
      return await new Promise((resolve, reject) => {
        const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'pipe'], timeout: 120_000 });
        const out = [];
        const err = [];
        child.stdout.on('data', (chunk) => out.push(chunk));
        child.stderr.on('data', (chunk) => err.push(chunk));
        child.on('error', reject);
        child.on('close', (status) => resolve(outcome(status, Buffer.concat(out), Buffer.concat(err))));
      });
    } finally {
      release();
    }
  })();
}

export const startNode = (args) => start(process.execPath, [nodeCli, ...args]);
export const startNative = (args) => start(nativeCli, args);
export const haveNative = () => existsSync(nativeCli);

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.map': 'application/json', '.json': 'application/json', '.svg': 'image/svg+xml', '.png': 'image/png',
};

// Serves the site on 127.0.0.1 on a free port; close() stops it.
export async function serveSite(dir = site) {
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(dir, path === '/' ? 'index.html' : path));
    if (!file.startsWith(dir)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'content-type': TYPES[extname(file)] ?? 'application/octet-stream' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  server.keepAliveTimeout = 1000;
  await new Promise((resolveListen) => server.listen(0, '127.0.0.1', resolveListen));
  const { port } = server.address();
  return {
    origin: `http://127.0.0.1:${port}`,
    close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
  };
}

// The flags of a headless Chromium on a machine without network.
export const CHROMIUM_FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage',
];
export const CHROMIUM = process.env.TABLOMAT_CHROMIUM ?? '/usr/bin/chromium';
