// The tool under Node.js against the native tool, byte for byte: standard
// output, standard error and exit status, for every command in text and
// JSON on the twelve examples and a few kept grammars.
import { describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { spawnSync } from 'node:child_process';
import { haveNative, nativeCli, nodeCli, root, runNative, runNode, startNative, startNode } from './support.mjs';

const COMMANDS = [
  'check', 'first', 'follow', 'lr0-items', 'lr1-items', 'lalr-items', 'll1-table', 'slr-table', 'lr1-table',
  'lalr-table', 'll1-eval', 'slr-eval', 'lr1-eval', 'lalr-eval',
];
const GRAPHS = ['lr0-graph', 'lr1-graph', 'lalr-graph'];
const JSON_EXAMPLES = [1, 2, 5, 7];
const EXPLAIN = ['report', 'conflicts'];
// Kept grammars with errors, conflicts, empty rules and merged lines.
const KEPT = ['errors', 'accept-conflict', 'merged-lines', 'random-07'];
const golden = join(root, 'cli', 'golden', 'inputs');

async function same(args) {
  const [native, node] = await Promise.all([startNative(args), startNode(args)]);
  const what = args.join(' ');
  assert.equal(node.status, native.status, `exit status of ${what}`);
  assert.ok(node.stdoutBytes.equals(native.stdoutBytes), `standard output of ${what}`);
  assert.equal(node.stderr, native.stderr, `standard error of ${what}`);
}

// The kept inputs hold the word on their first line, the grammar after it.
function keptArgs(name) {
  const text = readFileSync(join(golden, `${name}.txt`), 'utf8');
  const end = text.indexOf('\n');
  return { file: join(golden, `${name}.txt`), word: text.slice(0, end) };
}

describe('the tool under Node.js', { skip: !haveNative() && 'the native tool is not built' }, () => {
  // Every format is written from the same results, so text on every example
  // and JSON on a few of them find what the WebAssembly build computes
  // differently; each run starts a Node.js, which costs a quarter second.
  for (let example = 1; example <= 12; ++example) {
    it(`answers as the native tool on example ${example}`, async () => {
      const x = ['--example', String(example)];
      const formats = JSON_EXAMPLES.includes(example) ? ['text', 'json'] : ['text'];
      const runs = [];
      for (const command of [...COMMANDS, ...EXPLAIN]) for (const format of formats) runs.push(same([command, ...x, '--format', format]));
      for (const command of GRAPHS) runs.push(same([command, ...x]));
      runs.push(same(['lalr-eval', ...x, '--tree', '--format', 'json']));
      runs.push(same(['ll1-eval', ...x, '--tree']));
      if (JSON_EXAMPLES.includes(example))
        for (const kind of ['left-recursion', 'epsilon', 'cnf']) for (const format of formats) runs.push(same(['transform', kind, ...x, '--format', format]));
      await Promise.all(runs);
    });
  }

  for (const name of KEPT) {
    it(`answers as the native tool on the kept grammar ${name}`, async () => {
      // The file's first line is its word; as a grammar line it is an error
      // the two tools must report alike.
      const { file, word } = keptArgs(name);
      await Promise.all([
        ...[...COMMANDS, ...EXPLAIN].map((command) => same([command, file, '--word', word, '--format', 'json'])),
        ...['lr1-table', 'lalr-eval'].map((command) => same([command, file, '--word', word, '--format', 'csv'])),
      ]);
    });
  }

  it('answers as the native tool on grammars in the token notation, their graphs included', async () => {
    const folder = mkdtempSync(join(tmpdir(), 'tablomat-node-cli-'));
    try {
      const expressions = join(folder, 'expressions.txt');
      writeFileSync(expressions, '#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num\n');
      // Tokens that DOT and TeX escape, and an empty alternative.
      const special = join(folder, 'special.txt');
      writeFileSync(special, '#notation: tokens\nS -> { L } | _x "==" _x | \'"\' & \\ | \u03b5\nL -> L % S | S\n');
      const word = ['--word', 'id + num * ( id )'];
      await Promise.all([
        ...COMMANDS.map((command) => same([command, expressions, ...word])),
        ...GRAPHS.map((command) => same([command, expressions])),
        ...GRAPHS.map((command) => same([command, special])),
        same(['lr0-graph', expressions, '--state', '1', '--depth', '1', '--kernel']),
      ]);
    } finally {
      rmSync(folder, { recursive: true, force: true });
    }
  });

  it('reads standard input, and fails alike on usage errors and missing files', async () => {
    const input = 'I->S\nS->aS|b\n';
    const stdin = (tool) => tool(['lr1-table', '-', '--format', 'markdown'], input);
    const native = stdin(runNative);
    const node = stdin(runNode);
    assert.equal(node.stdout, native.stdout);
    assert.equal(node.status, native.status);
    await same(['no-such-command', '--example', '1']);
    await same(['first', join(root, 'no', 'such', 'file.txt')]);
    await same(['first', '--example', '13']);
    await same(['lr1-table', '--example', '1', '--format', 'yaml']);
  });

  it('reads a grammar from a pipe named as its file', { skip: process.platform !== 'linux' }, () => {
    const script = (tool) => `${tool} lr1-table <(printf 'I->S\\nS->aS|b\\n')`;
    const native = spawnSync('bash', ['-c', script(nativeCli)], { encoding: 'utf8' });
    const node = spawnSync('bash', ['-c', script(`'${process.execPath}' '${nodeCli}'`)], { encoding: 'utf8' });
    assert.equal(native.status, 0, native.stderr);
    assert.equal(node.stderr, native.stderr);
    assert.equal(node.stdout, native.stdout);
  });

  it('stops at the same limit with the same message', async () => {
    await same(['lr1-table', '--example', '2', '--max-states', '3']);
    await same(['lr1-eval', '--example', '2', '--max-rows', '2']);
  });

  it('draws SVG with Graphviz compiled to WebAssembly', () => {
    const node = runNode(['lr0-graph', '--example', '7', '--format', 'svg']);
    assert.equal(node.status, 0, node.stderr);
    assert.match(node.stdout, /<svg[\s\S]*id="s6"[\s\S]*<\/svg>/);
  });
});
