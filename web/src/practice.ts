// Practice: an exercise made by the tool from a property and a seed, or
// the grammar in the editor; the student answers a question and the tool
// grades every element of the answer.
import { csvOf } from './csv';
import { gridOf } from './results';
import type { ToolOutput } from './protocol';
import { GRAMMAR_FILE } from './protocol';

const ANSWER_FILE = '/answer.txt';

export interface PracticeContext {
  box: HTMLElement;
  tool: (args: string[], files?: Record<string, string>) => Promise<ToolOutput>;
  setWork: (grammar: string, word: string) => void;
}

const QUESTIONS: [string, string][] = [
  ['first', 'First sets'], ['follow', 'Follow sets'], ['ll1-table', 'LL(1) table'], ['slr-table', 'SLR table'],
  ['lr1-table', 'LR(1) table'], ['lalr-table', 'LALR table'], ['lr0-items', 'LR(0) items of a state'],
  ['lr1-items', 'LR(1) items of a state'],
];
const PROPERTIES: [string, string][] = [
  ['ll1', 'LL(1)'], ['slr-not-ll1', 'SLR(1), not LL(1)'], ['lalr-not-slr', 'LALR(1), not SLR(1)'],
  ['lr1-not-lalr', 'LR(1), not LALR(1)'], ['ambiguous', 'ambiguous'],
];

function make<K extends keyof HTMLElementTagNameMap>(tag: K, text?: string): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  if (text !== undefined) made.textContent = text;
  return made;
}

function select(options: [string, string][], label: string): HTMLSelectElement {
  const box = make('select');
  box.setAttribute('aria-label', label);
  for (const [value, text] of options) {
    const option = make('option', text);
    option.value = value;
    box.append(option);
  }
  return box;
}

function numberInput(value: number, label: string): HTMLInputElement {
  const input = make('input');
  input.type = 'number';
  input.min = '0';
  input.value = String(value);
  input.setAttribute('aria-label', label);
  return input;
}

function button(text: string, act: () => void): HTMLButtonElement {
  const made = make('button', text);
  made.type = 'button';
  made.onclick = act;
  return made;
}

// An empty grid of the table's shape, its symbols and states given, to fill in.
function answerGrid(shape: string[][]): { table: HTMLTableElement; rows: () => string[][] } {
  const table = make('table');
  table.className = 'grid answer';
  const inputs: HTMLInputElement[][] = [];
  shape.forEach((row, r) => {
    const tr = table.insertRow();
    inputs.push([]);
    row.forEach((cell, c) => {
      if (r === 0 || c === 0) {
        tr.append(make('th', cell));
        return;
      }
      const td = tr.insertCell();
      const input = make('input');
      input.size = 5;
      input.setAttribute('aria-label', `row ${shape[r][0]}, column ${shape[0][c]}`);
      td.append(input);
      inputs[r][c] = input;
    });
  });
  const rows = () => shape.map((row, r) => row.map((cell, c) => (r === 0 || c === 0 ? cell : inputs[r][c].value.trim())));
  return { table, rows };
}

function marksTable(json: string): HTMLTableElement | undefined {
  let marks: Record<string, string>[];
  try {
    marks = JSON.parse(json).marks;
  } catch {
    return undefined;
  }
  if (!Array.isArray(marks) || marks.length === 0) return undefined;
  const columns = Object.keys(marks[0]);
  return (() => {
    const table = make('table');
    table.className = 'grid marks';
    const head = table.createTHead().insertRow();
    for (const column of columns) head.append(make('th', column));
    const body = table.createTBody();
    for (const mark of marks) {
      const tr = body.insertRow();
      tr.className = 'mark-' + mark.mark;
      for (const column of columns) tr.append(make('td', String(mark[column] ?? '')));
    }
    return table;
  })();
}

export function showPractice(context: PracticeContext): void {
  const { box, tool } = context;
  const panel = make('div');
  panel.className = 'practice';

  const exercise = make('div');
  exercise.className = 'practice-row';
  const property = select(PROPERTIES, 'Property of the grammar');
  const seed = numberInput(Math.floor(Math.random() * 10000), 'Seed');
  const questions = make('pre');
  const newExercise = button('New exercise', async () => {
    questions.textContent = 'Making the exercise…';
    const args = ['exercise', '--property', property.value, '--seed', seed.value, '--part', 'questions'];
    const [text, json] = await Promise.all([tool(args), tool([...args, '--format', 'json'])]);
    if (text.status !== 0) {
      questions.textContent = text.stderr || text.stdout;
      return;
    }
    const made = JSON.parse(json.stdout);
    context.setWork(made.grammar.join('\n'), made.word);
    questions.textContent = text.stdout;
  });
  exercise.append(make('span', 'Exercise'), property, make('span', 'seed'), seed, newExercise);

  const asking = make('div');
  asking.className = 'practice-row';
  const question = select(QUESTIONS, 'Question');
  const state = numberInput(0, 'State');
  const stateLabel = make('span', 'state');
  asking.append(make('span', 'Answer'), question, stateLabel, state);

  const answerBox = make('div');
  const verdict = make('div');
  verdict.className = 'verdict';
  let answer: () => string = () => '';

  const prepare = async () => {
    const name = question.value;
    const items = name.endsWith('-items');
    state.hidden = stateLabel.hidden = !items;
    verdict.replaceChildren();
    if (name.endsWith('-table')) {
      const shape = await tool([name, GRAMMAR_FILE, '--format', 'json']);
      if (shape.status !== 0 && shape.status !== 4) {
        answerBox.replaceChildren(make('div', shape.stderr));
        return;
      }
      const grid = answerGrid(gridOf(shape.stdout));
      answerBox.replaceChildren(grid.table);
      answer = () => csvOf(grid.rows());
    } else {
      const area = make('textarea');
      area.rows = 8;
      area.cols = 40;
      area.spellcheck = false;
      area.placeholder = items ? 'The items of the state, one a line, as I->°A' : `One set a line, as ${name === 'first' ? 'First(A): ab' : 'Follow(A): b$'}`;
      area.setAttribute('aria-label', 'Answer');
      answerBox.replaceChildren(area);
      answer = () => area.value;
    }
  };
  question.onchange = () => void prepare();

  const check = button('Check', async () => {
    const args = ['grade', question.value, GRAMMAR_FILE, '--answer', ANSWER_FILE];
    if (question.value.endsWith('-items')) args.push('--state', state.value);
    const files = { [ANSWER_FILE]: answer() };
    const [text, json] = await Promise.all([tool(args, files), tool([...args, '--format', 'json'], files)]);
    const score = text.stdout.split('\n').filter((line) => line.startsWith('Score:'));
    const marks = marksTable(json.stdout);
    verdict.replaceChildren(make('p', score[0] ?? (text.stderr.trim() || text.stdout)), ...(marks ? [marks] : []));
  });

  panel.append(exercise, questions, asking, answerBox, check, verdict);
  box.replaceChildren(panel);
  void prepare();
}
