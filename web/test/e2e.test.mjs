// The site in headless Chromium, driven as a student uses it: links that
// open a result, the result against the tool's own, nothing fetched from
// anywhere but the page's origin.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { CHROMIUM, CHROMIUM_FLAGS, runNode, serveSite } from './support.mjs';

const EXPRESSIONS = 'I->E\nE->E+T|T\nT->T*F|F\nF->(E)|a';
const AMBIGUOUS = 'I->E\nE->E+E|a';
const TOKENS = '#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num';
const TOKEN_WORD = 'id + num * ( id )';

let server;
let browser;
let profile;
let scratch;
const strayRequests = [];

function link(grammar, word, command) {
  return `${server.origin}/index.html#g=${encodeURIComponent(grammar)}&w=${encodeURIComponent(word)}&v=${command}`;
}

// The tool's own answer, from a file holding the grammar.
async function toolJson(command, grammar, word) {
  const file = join(scratch, 'grammar.txt');
  await writeFile(file, grammar);
  return JSON.parse(runNode([command, file, '--word', word, '--format', 'json']).stdout);
}

async function openPage(url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1366, height: 768 });
  // Every request the page and its worker make is seen here (interception
  // would stall the worker's fetches); the resolver rules of the browser
  // let none reach another host anyway.
  page.on('request', (request) => {
    const url = request.url();
    if (!(url.startsWith(server.origin + '/') || url.startsWith('data:') || url.startsWith('blob:'))) strayRequests.push(url);
  });
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForSelector('body[data-ready="true"]', { timeout: 30_000 });
  return { page, errors };
}

async function tableCells(page) {
  return page.$$eval('#result table.grid tr', (rows) => rows.map((row) => [...row.children].map((cell) => cell.textContent)));
}

before(async () => {
  server = await serveSite();
  profile = await mkdtemp(join(tmpdir(), 'tablomat-chromium-'));
  scratch = await mkdtemp(join(tmpdir(), 'tablomat-e2e-'));
  browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [...CHROMIUM_FLAGS, `--user-data-dir=${profile}`, '--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1'],
    timeout: 60_000,
  });
});

after(async () => {
  await browser?.close();
  await server?.close();
  await rm(profile, { recursive: true, force: true });
  await rm(scratch, { recursive: true, force: true });
});

describe('a link', () => {
  it('opens the LR(1) table of its grammar, every cell as the tool gives it', async () => {
    const { page, errors } = await openPage(link(EXPRESSIONS, 'a+a*a', 'lr1-table'));
    await page.waitForSelector('#result table.grid');
    assert.deepEqual(await tableCells(page), await toolJson('lr1-table', EXPRESSIONS, 'a+a*a'));
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('marks the conflicts of a table', async () => {
    const { page } = await openPage(link(AMBIGUOUS, 'a+a', 'slr-table'));
    await page.waitForSelector('#result table.grid');
    const marked = await page.$$eval('#result td.conflict', (cells) => cells.map((cell) => cell.textContent));
    const expected = (await toolJson('slr-table', AMBIGUOUS, 'a+a')).flat().filter((cell, k) => cell.includes('|'));
    assert.ok(marked.length > 0);
    assert.deepEqual(marked, expected);
    await page.close();
  });

  it('draws the LR(0) automaton with Graphviz, one node per state, and a click shows its items', async () => {
    const { page } = await openPage(link(EXPRESSIONS, '', 'lr0-graph'));
    await page.waitForSelector('#result svg g.node');
    const states = (await toolJson('lr0-items', EXPRESSIONS, '')).filter((line) => /^State\d+ /.test(line)).length;
    const nodes = await page.$$eval('#result svg g.node', (gs) => gs.map((g) => g.id).filter((id) => /^s\d+$/.test(id)));
    assert.equal(nodes.length, states);
    assert.deepEqual(new Set(nodes), new Set(Array.from({ length: states }, (_, k) => `s${k}`)));
    await page.click('#result svg g.node#s1');
    await page.waitForFunction(() => document.querySelector('.items pre')?.textContent.startsWith('State1 '));
    await page.close();
  });

  it('shows the counterexample of an ambiguous grammar, with both trees drawn', async () => {
    const { page } = await openPage(link(AMBIGUOUS, '', 'conflicts'));
    await page.waitForSelector('#result h3');
    const text = await page.$eval('#result pre', (pre) => pre.textContent);
    const file = join(scratch, 'ambiguous.txt');
    await writeFile(file, AMBIGUOUS);
    assert.equal(text, runNode(['conflicts', file]).stdout);
    assert.match(text, /a\+a\+a/);
    const heading = await page.$eval('#result h3', (h) => h.textContent);
    assert.match(heading, /Counterexample/);
    await page.waitForFunction(() => document.querySelectorAll('#result .tree svg').length >= 2);
    await page.close();
  });

  it('shows the LALR trace ending in Accept, coloured', async () => {
    const { page } = await openPage(link(EXPRESSIONS, 'a+a*(a)', 'lalr-eval'));
    await page.waitForSelector('#result table.grid tr.accept');
    const cells = await tableCells(page);
    assert.deepEqual(cells, await toolJson('lalr-eval', EXPRESSIONS, 'a+a*(a)'));
    assert.equal(cells.at(-1).at(-1), 'Accept');
    await page.waitForSelector('#result .tree svg');
    await page.close();
  });

  it('colours a trace that ends in Error', async () => {
    const { page } = await openPage(link(EXPRESSIONS, 'a+', 'lr1-eval'));
    await page.waitForSelector('#result table.grid tr.error');
    await page.close();
  });
});

describe('hints and keys', () => {
  it('shows the tool\'s notes beside a result as hints', async () => {
    const grammar = 'E->E+a|a';
    const { page } = await openPage(link(grammar, 'a+b', 'lalr-eval'));
    await page.waitForSelector('#notes li');
    const notes = await page.$$eval('#notes li', (items) => items.map((item) => item.textContent));
    const file = join(scratch, 'unaugmented.txt');
    await writeFile(file, grammar);
    const expected = runNode(['lalr-eval', file, '--word', 'a+b']).stderr.trim().split('\n')
      .map((line) => line.replace(/^tablomat-cli: note: /, ''));
    assert.deepEqual(notes, expected);
    await page.close();
  });

  it('runs a table from the keyboard and steps a parse back', async () => {
    const { page } = await openPage(link(EXPRESSIONS, 'a*a', 'first'));
    await page.waitForSelector('#result pre.listing');
    await page.keyboard.down('Alt');
    await page.keyboard.press('8');  // the LALR parse
    await page.keyboard.up('Alt');
    await page.waitForSelector('#result table.grid tr.accept');
    assert.match(await page.evaluate(() => location.hash), /v=lalr-eval/);
    const steps = await page.$eval('#result input[type=range]', (slider) => Number(slider.max));
    await page.keyboard.down('Alt');
    await page.keyboard.press('ArrowLeft');
    await page.keyboard.up('Alt');
    await page.waitForFunction((n) => document.querySelector('#result input[type=range]').value === String(n - 1), {}, steps);
    assert.equal(await page.$$eval('#result tr.later', (rows) => rows.length), 1);
    await page.close();
  });
});

describe('downloads', () => {
  it('hand over the table in the tool\'s own CSV', async () => {
    const { page } = await openPage(link(EXPRESSIONS, '', 'slr-table'));
    await page.waitForSelector('#result table.grid');
    const folder = await mkdtemp(join(tmpdir(), 'tablomat-downloads-'));
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    const [csv] = await page.$$('#exports button');
    await csv.click();
    const file = join(folder, 'slr-table.csv');
    for (let wait = 0; wait < 100 && !existsSync(file); ++wait) await new Promise((resolve) => setTimeout(resolve, 100));
    const grammar = join(scratch, 'expressions.txt');
    await writeFile(grammar, EXPRESSIONS);
    assert.equal(await readFile(file, 'utf8'), runNode(['slr-table', grammar, '--format', 'csv']).stdout);
    await rm(folder, { recursive: true, force: true });
    await page.close();
  });
});

describe('the address', () => {
  it('follows the work and brings it back on reload', async () => {
    const { page } = await openPage(link(EXPRESSIONS, 'a', 'first'));
    await page.waitForSelector('#result pre.listing');
    await page.click('#word', { clickCount: 3 });
    await page.type('#word', 'a*a');
    await page.click('button[data-command="lalr-eval"]');
    await page.waitForSelector('#result table.grid tr.accept');
    const hash = await page.evaluate(() => location.hash);
    assert.match(hash, /w=a\*a/);
    assert.match(hash, /v=lalr-eval/);
    await page.reload({ waitUntil: 'load' });
    await page.waitForSelector('body[data-ready="true"]');
    assert.equal(await page.$eval('#word', (input) => input.value), 'a*a');
    await page.waitForSelector('#result table.grid tr.accept');
    await page.close();
  });

  it('marks a grammar\'s errors on their lines', async () => {
    const { page } = await openPage(link('I->A\nA->xB', '', 'check'));
    await page.waitForSelector('#problems li');
    const problems = await page.$$eval('#problems li', (items) => items.map((item) => item.textContent));
    const file = join(scratch, 'bad.txt');
    await writeFile(file, 'I->A\nA->xB');
    const messages = runNode(['check', file]).stderr.trim().split('\n').map((line) => line.replace(/^tablomat-cli: /, ''));
    assert.deepEqual(problems, messages);
    await page.waitForSelector('.cm-lintRange-error');
    await page.close();
  });
});

// The explosive chain of n rules (5 * 2^n - 3 LR(1) states).
function chain(n) {
  const heads = 'ABCDEFGHJKLMNOPQRSTUVWXYZ';
  const terminals = 'abcdfghijklmnopqrstuvw';
  let text = 'I->A\n';
  for (let k = 0; k < n; ++k) {
    const next = k + 1 < n ? heads[k + 1] : 'x';
    text += `${heads[k]}->y${next}${terminals[k]}|y${next}|z${next}\n`;
  }
  return text;
}

describe('long work', () => {
  it('shows the first rows of a table of thousands, and says so', async () => {
    const { page } = await openPage(link(chain(11), '', 'lr1-table'));
    await page.waitForSelector('#result table.grid');
    const note = await page.$eval('#result .more', (p) => p.textContent);
    assert.equal(note, 'The first 3,000 of 10,237 rows; the downloads hold them all.');
    assert.equal(await page.$$eval('#result table.grid tbody tr', (rows) => rows.length), 3000);
    await page.close();
  });

  it('shows its progress and stops at Cancel, leaving the page working', async () => {
    const { page } = await openPage(link(chain(17), '', 'lr1-table'));
    await page.waitForFunction(() => !document.getElementById('status').hidden, { timeout: 30_000 });
    await page.click('#cancel');
    await page.waitForFunction(() => document.querySelector('#result .message')?.textContent === 'Cancelled.');
    assert.equal(await page.$eval('#status', (bar) => bar.hidden), true);
    await page.$eval('#example', (select) => {
      select.value = '6';
      select.dispatchEvent(new Event('change'));
    });
    await page.click('button[data-command="first"]');
    await page.waitForSelector('#result pre.listing');
    await page.close();
  });
});

describe('transform', () => {
  it('shows the grammar rewritten as the tool rewrites it, and carries on with it', async () => {
    const { page } = await openPage(link(EXPRESSIONS, 'a', 'transform'));
    await page.waitForFunction(() => document.querySelector('.practice pre')?.textContent.length > 0);
    const shown = await page.$eval('.practice pre', (pre) => pre.textContent);
    const file = join(scratch, 'left-recursive.txt');
    await writeFile(file, EXPRESSIONS);
    assert.equal(shown, runNode(['transform', 'left-recursion', file]).stdout);
    await page.click('.practice-row button');  // Use this grammar
    await page.waitForFunction((text) => document.querySelector('.cm-content').innerText.trim() === text.trim(), {}, shown);
    await page.close();
  });
});

describe('practice', () => {
  it('makes an exercise into the editor and grades an answer with the tool', async () => {
    const { page } = await openPage(link(EXPRESSIONS, '', 'practice'));
    await page.waitForSelector('.practice');
    await page.click('.practice button');  // New exercise
    await page.waitForFunction(() => document.querySelector('.practice pre')?.textContent.includes('Questions:'));
    const grammar = await page.$eval('.cm-content', (editor) => editor.textContent);
    assert.match(grammar, /^I->/);
    await page.waitForSelector('.practice textarea');
    await page.type('.practice textarea', 'First(I): zz');
    const buttons = await page.$$('.practice > button');
    await buttons[0].click();  // Check
    await page.waitForSelector('.verdict table.marks tr.mark-wrong');
    const score = await page.$eval('.verdict p', (p) => p.textContent);
    assert.match(score, /^Score: \d+ of \d+ right/);
    await page.close();
  });
});

async function notationShown(page) {
  return page.$eval('#notation', (label) => label.textContent);
}

describe('the token notation', () => {
  it('is typed in, named beside the editor, and computed as the tool computes it', async () => {
    const { page, errors } = await openPage(link(EXPRESSIONS, 'a', 'first'));
    await page.waitForSelector('#result pre.listing');
    assert.equal(await notationShown(page), 'Classic notation');
    await page.click('.cm-content');
    await page.keyboard.down('Control');
    await page.keyboard.press('a');
    await page.keyboard.up('Control');
    await page.keyboard.press('Backspace');
    await page.keyboard.type(TOKENS);
    await page.waitForFunction(() => document.getElementById('notation').textContent === 'Token notation');
    assert.equal(await page.$eval('.cm-content', (editor) => editor.innerText.trim()), TOKENS);
    // Read in its own notation, the grammar has nothing wrong with it.
    await page.waitForFunction(() => document.querySelectorAll('#problems li').length === 0);
    await page.click('#word', { clickCount: 3 });
    await page.type('#word', TOKEN_WORD);

    await page.click('button[data-command="lr1-table"]');
    await page.waitForFunction(() =>
      [...document.querySelectorAll('#result table.grid thead th')].some((th) => th.textContent === 'num'));
    const table = await tableCells(page);
    assert.deepEqual(table, await toolJson('lr1-table', TOKENS, TOKEN_WORD));
    assert.deepEqual(table[0], ['', '+', '*', '(', ')', 'id', 'num', '$', "E'", 'E', 'T', 'F']);

    await page.click('button[data-command="lr1-eval"]');
    await page.waitForSelector('#result table.grid tr.accept');
    const trace = await tableCells(page);
    assert.deepEqual(trace, await toolJson('lr1-eval', TOKENS, TOKEN_WORD));
    assert.equal(trace.at(-1).at(-1), 'Accept');
    // The tree names whole tokens.
    await page.waitForSelector('#result .tree svg');
    const labels = await page.$$eval('#result .tree svg text', (texts) => texts.map((t) => t.textContent));
    for (const token of ["E'", 'num', 'id', '(']) assert.ok(labels.includes(token), `${token} in ${labels}`);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('marks the errors of a token grammar on their lines, as the tool gives them', async () => {
    const grammar = '#notation: tokens\nE -> E + $\nT';
    const { page } = await openPage(link(grammar, '', 'check'));
    await page.waitForSelector('#problems li');
    assert.equal(await notationShown(page), 'Token notation');
    const problems = await page.$$eval('#problems li', (items) => items.map((item) => item.textContent));
    const file = join(scratch, 'bad-tokens.txt');
    await writeFile(file, grammar);
    const messages = runNode(['check', file]).stderr.trim().split('\n');
    assert.deepEqual(problems, messages);
    assert.deepEqual(problems, ["Line 2: '$' is reserved for the end of input.", "Line 3: '->' is missing after the head T."]);
    // Each marks its whole line.
    await page.waitForFunction(() => document.querySelectorAll('.cm-lintRange-error').length === 2);
    assert.deepEqual(await page.$$eval('.cm-lintRange-error', (marks) => marks.map((mark) => mark.textContent)), ['E -> E + $', 'T']);
    await page.close();
  });

  it('starts a new grammar in either notation, draws its automaton, and is explained in the help', async () => {
    const { page } = await openPage(link(EXPRESSIONS, 'a', 'lr0-graph'));
    await page.waitForSelector('#result svg g.node');
    await page.click('#new-tokens');
    await page.waitForFunction(() => document.getElementById('notation').textContent === 'Token notation');
    assert.equal(await page.$eval('#word', (input) => input.value), TOKEN_WORD);
    assert.match(await page.$eval('.cm-content', (editor) => editor.innerText), /^#notation: tokens\nE -> E \+ T \| T/);
    // The automaton of the new grammar, its arcs labelled by whole tokens.
    await page.waitForFunction(() =>
      [...document.querySelectorAll('#result svg g.edge text')].some((text) => text.textContent === 'num'));
    await page.click('#new-classic');
    await page.waitForFunction(() => document.getElementById('notation').textContent === 'Classic notation');
    assert.match(await page.$eval('.cm-content', (editor) => editor.innerText), /^I->E\n/);
    await page.click('#help');
    const help = await page.$eval('dialog#shortcuts', (dialog) => (dialog.open ? dialog.textContent : ''));
    for (const part of ['#notation: tokens', 'id + num * ( id )', 'continues the rule above', "E' -> E"])
      assert.ok(help.includes(part), part);
    await page.close();
  });
});

describe('the page', () => {
  it('fetched nothing from another origin', () => {
    assert.deepEqual(strayRequests, []);
  });
});
