// The page: an editor, a word, the examples and every command of the tool,
// each result as the tool gives it, drawn for the screen.
import { createEditor, type GrammarEditor } from './editor';
import { COMMAND_GROUPS, commandNamed, itemsCommandOf, type Command } from './commands';
import { Runner, Cancelled } from './runner';
import { GRAMMAR_FILE, type Example, type ToolOutput } from './protocol';
import { decodeLink, encodeLink, type LinkState } from './link';
import { savedTheme, savedWork, saveTheme, saveWork } from './storage';
import { gridOf, isConflict, linesOf, stateItems, stateOfNode, traceEnd, type Grid } from './results';
import { svgOfDot } from './diagram';
import { grownNodes, treeDot, type TreeNode } from './trees';
import { download, pngOfSvg } from './downloads';
import { showPractice } from './practice';
import { showTransform } from './transform';
import { NEW_GRAMMARS, NOTATION_HINTS, NOTATION_NAMES, notationOf, type Notation } from './notation';

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;
const NOTE_PREFIX = 'tablomat-cli: note: ';

const exampleSelect = $<HTMLSelectElement>('example');
const wordInput = $<HTMLInputElement>('word');
const resultBox = $<HTMLDivElement>('result');
const resultTitle = $<HTMLHeadingElement>('result-title');
const exportsBox = $<HTMLDivElement>('exports');
const notesList = $<HTMLUListElement>('notes');
const problemsList = $<HTMLUListElement>('problems');
const statusBar = $<HTMLDivElement>('status');
const progressText = $<HTMLSpanElement>('progress');
const notationLabel = $<HTMLSpanElement>('notation');

let examples: Example[] = [];
let editor: GrammarEditor;
let current: Command | undefined;
let generation = 0;  // of the command shown: an older run's answer is dropped
let commandRunning = false;
let stepper: { step: (delta: number) => void } | undefined;

// What the running work has reached: the time, and the last count the library reported.
const progress = { started: 0, what: '', count: 0, timer: 0 };

function showProgress(): void {
  const seconds = Math.floor((performance.now() - progress.started) / 1000);
  const counted = progress.count > 0 ? `${progress.count.toLocaleString('en')} ${progress.what}, ` : '';
  progressText.textContent = `Working… ${counted}${seconds} s`;
}

const runner = new Runner(new URL('./worker.js', import.meta.url), {
  onProgress: (what, count) => {
    if (count > 0) Object.assign(progress, { what, count });
  },
  onBusy: (busy) => {
    clearInterval(progress.timer);
    if (busy) {
      Object.assign(progress, { started: performance.now(), what: '', count: 0 });
      showProgress();
      // Quick answers show no bar at all.
      progress.timer = window.setInterval(() => {
        statusBar.hidden = false;
        showProgress();
      }, 250);
    } else {
      statusBar.hidden = true;
    }
    runnerBusy = busy;
  },
});
let runnerBusy = false;

function state(): LinkState {
  return { grammar: editor.text(), word: wordInput.value, command: current?.name ?? '' };
}

// The address and the browser's storage follow the work.
function remember(): void {
  const now = state();
  history.replaceState(null, '', encodeLink(now));
  saveWork(now);
}

function tool(args: string[], files?: Record<string, string>): Promise<ToolOutput> {
  return runner.run(args, editor.text(), files);
}

function commandArgs(name: string, format: string): string[] {
  return [name, GRAMMAR_FILE, '--word', wordInput.value, '--format', format];
}

function element<K extends keyof HTMLElementTagNameMap>(tag: K, className?: string, text?: string): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

// What the tool said on standard error: its notes as hints, the rest as the message of the result.
function splitErrors(stderr: string): { notes: string[]; messages: string[] } {
  const lines = stderr.split('\n').filter((line) => line !== '');
  return {
    notes: lines.filter((line) => line.startsWith(NOTE_PREFIX)).map((line) => line.slice(NOTE_PREFIX.length)),
    messages: lines.filter((line) => !line.startsWith(NOTE_PREFIX)).map((line) => line.replace(/^tablomat-cli: /, '')),
  };
}

function showNotes(notes: string[]): void {
  notesList.replaceChildren(...notes.map((note) => element('li', '', note)));
}

function showMessage(text: string): void {
  resultBox.replaceChildren(element('div', 'message', text));
}

// The most rows a table shows: a browser lays out a few thousand rows at
// once, not the tens of thousands a large automaton has.  The downloads
// hold them all.
const SHOWN_ROWS = 3000;
// The most states a diagram draws whole; beyond, the neighbourhood of a state.
const DRAWN_STATES = 150;
// The most nodes of a parse tree drawn.
const DRAWN_TREE_NODES = 1500;

function rowsNote(grid: Grid): HTMLElement[] {
  const rows = grid.length - 1;
  return rows > SHOWN_ROWS
    ? [element('p', 'more', `The first ${SHOWN_ROWS.toLocaleString('en')} of ${rows.toLocaleString('en')} rows; the downloads hold them all.`)]
    : [];
}

function gridTable(grid: Grid, rowClass?: (row: string[], index: number) => string): HTMLTableElement {
  const table = element('table', 'grid');
  const head = table.createTHead().insertRow();
  for (const cell of grid[0] ?? []) head.append(element('th', '', cell));
  const body = table.createTBody();
  const last = grid.length - 1;
  // A trace's last row (Accept or Error) stays in sight.
  const shown = last > SHOWN_ROWS ? [...grid.slice(1, SHOWN_ROWS), grid[last]] : grid.slice(1);
  shown.forEach((row, position) => {
    const index = position + 1 === shown.length ? last : position + 1;
    const tr = body.insertRow();
    const extra = rowClass?.(row, index);
    if (extra) tr.className = extra;
    row.forEach((cell, column) => {
      const td = element(column === 0 ? 'th' : 'td', column > 0 && isConflict(cell) ? 'conflict' : '', cell);
      tr.append(td);
    });
  });
  return table;
}

function exportButtons(buttons: { label: string; act: () => Promise<void> | void }[]): void {
  exportsBox.replaceChildren(...buttons.map(({ label, act }) => {
    const button = element('button', '', label);
    button.type = 'button';
    button.title = `Download as ${label}`;
    button.onclick = async () => {
      try {
        await act();
      } catch (error) {
        if (!(error instanceof Cancelled)) showMessage(String((error as Error).message ?? error));
      }
    };
    return button;
  }));
}

const FORMAT_FILES: Record<string, [string, string]> = {
  CSV: ['csv', 'csv'], Markdown: ['markdown', 'md'], LaTeX: ['latex', 'tex'], JSON: ['json', 'json'], Text: ['text', 'txt'],
};

// Downloads of what the tool writes in each format, the arguments made for the format.
function formatExports(fileName: string, labels: string[], argsFor: (format: string) => string[]) {
  return labels.map((label) => ({
    label,
    act: async () => {
      const [format, extension] = FORMAT_FILES[label];
      const output = await tool(argsFor(format));
      download(`${fileName}.${extension}`, output.stdout);
    },
  }));
}

function toolExports(name: string, labels: string[]) {
  return formatExports(name, labels, (format) => commandArgs(name, format));
}

function svgExports(name: string, svg: () => SVGSVGElement | null, dot?: string) {
  const buttons: { label: string; act: () => Promise<void> | void }[] = [];
  if (dot !== undefined) buttons.push({ label: 'DOT', act: () => download(`${name}.dot`, dot) });
  buttons.push({
    label: 'SVG',
    act: () => {
      const drawing = svg();
      if (drawing) download(`${name}.svg`, new XMLSerializer().serializeToString(drawing), 'image/svg+xml');
    },
  });
  buttons.push({
    label: 'PNG',
    act: async () => {
      const drawing = svg();
      if (drawing) download(`${name}.png`, await pngOfSvg(drawing));
    },
  });
  return buttons;
}

async function showTable(command: Command, output: ToolOutput): Promise<void> {
  const grid = gridOf(output.stdout);
  resultBox.replaceChildren(...rowsNote(grid), gridTable(grid));
  exportButtons(toolExports(command.name, ['CSV', 'Markdown', 'LaTeX', 'JSON', 'Text']));
}

async function showListing(command: Command, output: ToolOutput): Promise<void> {
  const lines = linesOf(output.stdout);
  resultBox.replaceChildren(element('pre', 'listing', lines.join('\n')));
  exportButtons(toolExports(command.name, ['CSV', 'Markdown', 'LaTeX', 'JSON', 'Text']));
}

async function showTrace(command: Command, output: ToolOutput, mine: number): Promise<void> {
  const grid = gridOf(output.stdout);
  const end = traceEnd(grid);
  const steps = grid.length - 1;
  const bottomUp = !command.name.startsWith('ll1');
  const treeOutput = await tool([command.name, GRAMMAR_FILE, '--word', wordInput.value, '--tree', '--format', 'json']);
  if (mine !== generation) return;
  let tree: TreeNode | undefined;
  try {
    const parsed = JSON.parse(treeOutput.stdout);
    tree = Array.isArray(parsed) ? undefined : parsed;  // a rejected word leaves a forest: no single tree to grow
  } catch {
    tree = undefined;
  }
  const treeTooLarge = tree !== undefined && treeDot(tree).split('\n').length > DRAWN_TREE_NODES * 2;
  if (treeTooLarge) tree = undefined;
  const view = element('div', 'trace-view');
  const left = element('div');
  const controls = element('div', 'stepper');
  const back = element('button', '', '◀ Back');
  const next = element('button', '', 'Next ▶');
  const slider = element('input');
  slider.type = 'range';
  slider.min = '0';
  slider.max = String(steps);
  slider.value = String(steps);
  slider.setAttribute('aria-label', 'Step of the parse');
  const position = element('span');
  controls.append(back, slider, next, position);
  const table = gridTable(grid, (row, index) => {
    if (index === steps && end === 'Accept') return 'accept';
    if (index === steps && end === 'Error') return 'error';
    return '';
  });
  left.append(controls, ...rowsNote(grid), table);
  const treeBox = element('div', 'tree');
  if (treeTooLarge) treeBox.append(element('p', 'more', 'The parse tree is too large to draw here; the tool writes it with --tree.'));
  // A tree the tool does not draw: its reason, in its words.
  else if (treeOutput.status === 2) treeBox.append(element('p', 'more', splitErrors(treeOutput.stderr).messages.join('\n')));
  view.append(left, treeBox);
  resultBox.replaceChildren(view);
  let drawing = 0;
  const show = async (step: number) => {
    slider.value = String(step);
    position.textContent = `step ${step} of ${steps}`;
    table.tBodies[0].querySelectorAll('tr').forEach((tr, k) => {
      const index = Number(tr.firstElementChild?.textContent ?? k + 1);
      tr.classList.toggle('current', index === step && step < steps);
      tr.classList.toggle('later', index > step);
    });
    if (!tree) return;
    const done = grid.slice(1, step + 1).map((row) => row[row.length - 1]);
    const shifted = bottomUp ? done.filter((a) => a === 'Shift').length : done.filter((a) => a === '').length;
    const built = bottomUp ? done.filter((a) => a.startsWith('Reduce')).length : done.filter((a) => a.includes('->')).length;
    const shown = step >= steps ? undefined : grownNodes(tree, shifted, built, bottomUp);
    const mine = ++drawing;
    const svg = await svgOfDot(treeDot(tree, shown && ((k) => shown.has(k))));
    if (mine === drawing) treeBox.replaceChildren(svg);
  };
  stepper = { step: (delta) => void show(Math.max(0, Math.min(steps, Number(slider.value) + delta))) };
  back.onclick = () => stepper?.step(-1);
  next.onclick = () => stepper?.step(1);
  slider.oninput = () => void show(Number(slider.value));
  await show(steps);
  exportButtons([...toolExports(command.name, ['CSV', 'Markdown', 'LaTeX', 'JSON', 'Text']),
                 ...svgExports(`${command.name}-tree`, () => treeBox.querySelector('svg')).slice(0)]);
}

function stateCount(dot: string): number {
  return (dot.match(/^ {2}s\d+ \[/gm) ?? []).length;
}

async function showGraph(command: Command, output: ToolOutput, mine: number, around?: number): Promise<void> {
  let dot = output.stdout;
  const states = stateCount(dot);
  const view = element('div', 'diagram-view');
  const diagram = element('div', 'diagram');
  const items = element('div', 'items');
  if (states > DRAWN_STATES || around !== undefined) {
    // Too many states to lay out and read: the neighbourhood of one, as the tool draws it.
    const centre = around ?? 0;
    const near = await tool([command.name, GRAMMAR_FILE, '--state', String(centre)]);
    if (mine !== generation) return;
    if (near.status !== 0) throw new Error(splitErrors(near.stderr).messages.join('\n'));
    dot = near.stdout;
    const pick = element('input');
    pick.type = 'number';
    pick.min = '0';
    pick.value = String(centre);
    pick.setAttribute('aria-label', 'State at the centre');
    pick.onchange = () => void showGraph(command, output, mine, Number(pick.value));
    const note = element('p', 'more', `${states.toLocaleString('en')} states: the neighbourhood of state `);
    note.append(pick);
    resultBox.replaceChildren(note, view);
  } else {
    resultBox.replaceChildren(view);
  }
  const svg = await svgOfDot(dot);
  if (mine !== generation) return;
  diagram.append(svg);
  items.append(element('p', '', 'Click a state for its items.'));
  view.append(diagram, items);
  let listing: string[] | undefined;
  svg.addEventListener('click', async (event) => {
    const node = (event.target as Element).closest('g.node');
    const n = node ? stateOfNode(node.id) : undefined;
    if (n === undefined) return;
    svg.querySelectorAll('g.node.selected').forEach((g) => g.classList.remove('selected'));
    node!.classList.add('selected');
    listing ??= linesOf((await tool(commandArgs(itemsCommandOf(command.name), 'json'))).stdout);
    items.replaceChildren(element('pre', '', stateItems(listing, n).join('\n')));
  });
  exportButtons(svgExports(command.name, () => svg, dot));
}

// Every counterexample in the tool's JSON explanation, with its trees.
function counterexamples(value: unknown, found: { title: string; trees: TreeNode[] }[] = []) {
  if (Array.isArray(value)) value.forEach((item) => counterexamples(item, found));
  else if (value && typeof value === 'object') {
    const record = value as Record<string, any>;
    if (record.counterexample?.trees) {
      const example = record.counterexample;
      found.push({
        title: `${record.table} row ${record.row} under ${record.symbol}: ${example.word ?? example.form ?? ''}`,
        trees: example.trees,
      });
    }
    for (const key of Object.keys(record)) if (key !== 'counterexample') counterexamples(record[key], found);
  }
  return found;
}

async function showExplanation(command: Command, output: ToolOutput, mine: number): Promise<void> {
  const box = element('div', 'report');
  box.append(element('pre', '', output.stdout));
  resultBox.replaceChildren(box);
  exportButtons(toolExports(command.name, ['Text', 'Markdown', 'JSON']));
  if (command.name !== 'conflicts') return;
  const json = await tool(commandArgs(command.name, 'json'));
  if (mine !== generation) return;
  let parsed: unknown;
  try {
    parsed = JSON.parse(json.stdout);
  } catch {
    return;
  }
  for (const example of counterexamples(parsed)) {
    box.append(element('h3', '', 'Counterexample: ' + example.title));
    const row = element('div', 'tree');
    for (const tree of example.trees) row.append(await svgOfDot(treeDot(tree)));
    box.append(row);
  }
}

async function runCommand(command: Command): Promise<void> {
  current = command;
  stepper = undefined;
  const mine = ++generation;
  document.querySelectorAll('#commands button').forEach((b) =>
    b.setAttribute('aria-pressed', String((b as HTMLElement).dataset.command === command.name)));
  resultTitle.textContent = command.label + (command.kind === 'table' ? ' table' : command.kind === 'trace' ? ' parse' : '');
  remember();
  if (command.kind === 'practice') {
    showNotes([]);
    exportsBox.replaceChildren();
    showPractice({ box: resultBox, tool, setWork });
    return;
  }
  if (command.kind === 'transform') {
    showNotes([]);
    exportsBox.replaceChildren();
    showTransform({
      box: resultBox,
      tool,
      useGrammar: (grammar) => setWork(grammar.replace(/\r?\n$/, ''), wordInput.value),
      exportsFor: (args, name) =>
        exportButtons(formatExports(name, ['Text', 'Markdown', 'LaTeX', 'JSON'], (format) => [...args, '--format', format])),
    });
    return;
  }
  // The newest command wins: one still working is cancelled.
  if (commandRunning) runner.cancel();
  let output: ToolOutput;
  commandRunning = true;
  try {
    output = await tool(commandArgs(command.name, command.kind === 'graph' ? 'dot' : command.kind === 'explain' ? 'text' : 'json'));
  } catch (error) {
    if (mine === generation) showMessage(error instanceof Cancelled ? 'Cancelled.' : String((error as Error).message));
    return;
  }
  finally {
    if (mine === generation) commandRunning = false;
  }
  if (mine !== generation) return;
  const { notes, messages } = splitErrors(output.stderr);
  showNotes(notes);
  exportsBox.replaceChildren();
  if (output.stdout === '' || output.status === 2 || output.status === 3 || output.status === 5 || output.status === 70) {
    showMessage(messages.join('\n') || `The command ended with status ${output.status}.`);
    return;
  }
  try {
    if (command.kind === 'table') await showTable(command, output);
    else if (command.kind === 'listing') await showListing(command, output);
    else if (command.kind === 'trace') await showTrace(command, output, mine);
    else if (command.kind === 'graph') await showGraph(command, output, mine);
    else await showExplanation(command, output, mine);
  } catch (error) {
    if (mine === generation && !(error instanceof Cancelled)) showMessage(String((error as Error).message ?? error));
  }
  if (mine === generation && messages.length > 0 && command.kind !== 'explain') showNotes([...messages, ...notes]);
}

let checkTimer: number | undefined;
async function checkGrammar(): Promise<void> {
  // Cancelled with the command it waited behind: the next edit checks again.
  const problems = await runner.problems(editor.text()).catch(() => undefined);
  if (!problems) return;
  editor.showProblems(problems);
  problemsList.replaceChildren(...problems.map((problem) => {
    const item = element('li', '', problem.message);
    item.onclick = () => {
      if (!problem.place) return;
      const line = editor.view.state.doc.line(Math.min(problem.place.line + 1, editor.view.state.doc.lines));
      editor.view.dispatch({ selection: { anchor: line.from }, scrollIntoView: true });
      editor.view.focus();
    };
    return item;
  }));
}

// The label beside the editor follows the grammar's first line, as the tool reads it.
function showNotation(): void {
  const notation = notationOf(editor.text());
  if (notationLabel.dataset.notation === notation) return;
  notationLabel.dataset.notation = notation;
  notationLabel.textContent = NOTATION_NAMES[notation];
  notationLabel.title = NOTATION_HINTS[notation];
}

function workChanged(): void {
  showNotation();
  remember();
  clearTimeout(checkTimer);
  checkTimer = window.setTimeout(() => {
    void checkGrammar();
    // Practice keeps the student's answer; the tool's results follow the grammar.
    if (current && current.kind !== 'practice' && current.kind !== 'transform') void runCommand(current);
  }, 350);
}

function buildCommandBar(): void {
  const nav = $('commands');
  for (const group of COMMAND_GROUPS) {
    const box = element('div', 'group');
    box.append(element('span', 'group-title', group.title));
    for (const command of group.commands) {
      const button = element('button', '', command.label);
      button.type = 'button';
      button.dataset.command = command.name;
      button.title = command.name;
      button.setAttribute('aria-pressed', 'false');
      button.onclick = () => void runCommand(command);
      box.append(button);
    }
    nav.append(box);
  }
}

function setTheme(theme: string): void {
  document.documentElement.dataset.theme = theme;
  $('theme').textContent = theme === 'dark' ? 'Light' : 'Dark';
  saveTheme(theme);
}

async function copyLink(): Promise<void> {
  remember();
  const button = $('copy-link');
  try {
    await navigator.clipboard.writeText(location.href);
    button.textContent = 'Copied';
  } catch {
    // No clipboard (an insecure origin): the address bar holds the link.
    button.textContent = 'Link in the address bar';
  }
  setTimeout(() => (button.textContent = 'Copy link'), 1500);
}

const SHORTCUT_COMMANDS = ['ll1-table', 'slr-table', 'lr1-table', 'lalr-table', 'll1-eval', 'slr-eval', 'lr1-eval', 'lalr-eval', 'lr0-graph'];

function onKey(event: KeyboardEvent): void {
  if (event.key === 'Escape' && runnerBusy) {
    runner.cancel();
    return;
  }
  if (event.ctrlKey && event.key === 'Enter' && current) {
    event.preventDefault();
    void runCommand(current);
  } else if (event.ctrlKey && event.shiftKey && event.key.toLowerCase() === 'l') {
    event.preventDefault();
    void copyLink();
  } else if (event.ctrlKey && event.shiftKey && event.key.toLowerCase() === 'd') {
    event.preventDefault();
    setTheme(document.documentElement.dataset.theme === 'dark' ? 'light' : 'dark');
  } else if (event.altKey && /^[1-9]$/.test(event.key)) {
    event.preventDefault();
    const command = commandNamed(SHORTCUT_COMMANDS[Number(event.key) - 1]);
    if (command) void runCommand(command);
  } else if (event.altKey && (event.key === 'ArrowLeft' || event.key === 'ArrowRight') && stepper) {
    event.preventDefault();
    stepper.step(event.key === 'ArrowLeft' ? -1 : 1);
  } else if (event.key === '?' && !(event.target as HTMLElement).closest('.cm-editor, input')) {
    $<HTMLDialogElement>('shortcuts').showModal();
  }
}

function setWork(grammar: string, word: string): void {
  editor.setText(grammar);
  wordInput.value = word;
  workChanged();
}

function applyExample(index: number): void {
  const example = examples[index];
  if (example) setWork(example.lines.join('\n'), example.word);
}

function newGrammar(notation: Notation): void {
  exampleSelect.value = '';
  setWork(NEW_GRAMMARS[notation].grammar, NEW_GRAMMARS[notation].word);
  editor.view.focus();
}

async function start(): Promise<void> {
  setTheme(savedTheme() ?? (matchMedia('(prefers-color-scheme: dark)').matches ? 'dark' : 'light'));
  buildCommandBar();
  examples = await runner.examples();
  examples.forEach((example, index) => {
    const option = element('option', '', `${example.name}: ${example.lines.join('  ')}`);
    option.value = String(index);
    exampleSelect.append(option);
  });
  const linked = decodeLink(location.hash);
  const fromLink = linked.grammar !== undefined;
  const saved = fromLink ? undefined : savedWork();
  const first = examples[0];
  const initial: LinkState = {
    grammar: linked.grammar ?? saved?.grammar ?? first.lines.join('\n'),
    word: linked.word ?? saved?.word ?? (fromLink ? '' : first.word),
    command: linked.command ?? saved?.command ?? '',
  };
  editor = createEditor($('editor'), initial.grammar, workChanged);
  showNotation();
  wordInput.value = initial.word;
  wordInput.addEventListener('input', workChanged);
  exampleSelect.addEventListener('change', () => applyExample(Number(exampleSelect.value)));
  $('new-classic').addEventListener('click', () => newGrammar('classic'));
  $('new-tokens').addEventListener('click', () => newGrammar('tokens'));
  $('copy-link').addEventListener('click', () => void copyLink());
  $('theme').addEventListener('click', () => setTheme(document.documentElement.dataset.theme === 'dark' ? 'light' : 'dark'));
  $('help').addEventListener('click', () => $<HTMLDialogElement>('shortcuts').showModal());
  $('cancel').addEventListener('click', () => runner.cancel());
  document.addEventListener('keydown', onKey);
  void checkGrammar();
  // Interactive from here on, while the link's command works.
  document.body.dataset.ready = 'true';
  const command = commandNamed(initial.command);
  if (command) await runCommand(command);
  else if (initial.command) showMessage(`unknown command '${initial.command}' in the link`);
  else remember();
}

start().catch((error) => showMessage('The page could not start: ' + String(error?.message ?? error)));
