// Transform: the grammar rewritten by one of the tool's transformations,
// with its steps as the tool's handout, and a way to carry on with it.
import { GRAMMAR_FILE, type ToolOutput } from './protocol';

export interface TransformContext {
  box: HTMLElement;
  tool: (args: string[]) => Promise<ToolOutput>;
  useGrammar: (grammar: string) => void;
  exportsFor: (args: string[], name: string) => void;
}

const KINDS: [string, string][] = [
  ['left-recursion', 'Remove left recursion'], ['left-factor', 'Left-factor'], ['epsilon', 'Remove empty rules'],
  ['unit', 'Remove unit rules'], ['useless', 'Remove useless symbols'], ['cnf', 'Chomsky normal form'],
  ['ll1', 'Toward LL(1)'],
];

export function showTransform(context: TransformContext, kind = KINDS[0][0]): void {
  const { box, tool } = context;
  const panel = document.createElement('div');
  panel.className = 'practice';
  const row = document.createElement('div');
  row.className = 'practice-row';
  const choice = document.createElement('select');
  choice.setAttribute('aria-label', 'Transformation');
  for (const [value, label] of KINDS) choice.append(new Option(label, value, false, value === kind));
  const use = document.createElement('button');
  use.type = 'button';
  use.textContent = 'Use this grammar';
  use.disabled = true;
  row.append(choice, use);
  const grammar = document.createElement('pre');
  const steps = document.createElement('pre');
  steps.className = 'steps';
  panel.append(row, grammar, steps);
  box.replaceChildren(panel);

  const run = async () => {
    const args = ['transform', choice.value, GRAMMAR_FILE];
    const [text, handout] = await Promise.all([tool(args), tool([...args, '--format', 'markdown'])]);
    use.disabled = text.status !== 0;
    grammar.textContent = text.status === 0 ? text.stdout : text.stderr.replace(/^tablomat-cli: /gm, '');
    steps.textContent = handout.status === 0 ? handout.stdout : '';
    context.exportsFor(args, `transform-${choice.value}`);
  };
  choice.onchange = () => void run();
  use.onclick = () => context.useGrammar(grammar.textContent ?? '');
  void run();
}
