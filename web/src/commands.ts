// The tool's commands as the page offers them, grouped as the window's menus.

export type CommandKind = 'listing' | 'table' | 'trace' | 'graph' | 'explain' | 'transform' | 'practice';

export interface Command {
  name: string;  // the tool's command name, as links and the command line give it
  label: string;
  kind: CommandKind;
}

export interface CommandGroup {
  title: string;
  commands: Command[];
}

export const COMMAND_GROUPS: CommandGroup[] = [
  {
    title: 'Grammar',
    commands: [
      { name: 'check', label: 'Productions', kind: 'listing' },
      { name: 'first', label: 'First', kind: 'listing' },
      { name: 'follow', label: 'Follow', kind: 'listing' },
      { name: 'report', label: 'Report', kind: 'explain' },
      { name: 'conflicts', label: 'Conflicts', kind: 'explain' },
      { name: 'transform', label: 'Transform', kind: 'transform' },
    ],
  },
  {
    title: 'Items',
    commands: [
      { name: 'lr0-items', label: 'LR(0) items', kind: 'listing' },
      { name: 'lr1-items', label: 'LR(1) items', kind: 'listing' },
      { name: 'lalr-items', label: 'LALR items', kind: 'listing' },
    ],
  },
  {
    title: 'Diagrams',
    commands: [
      { name: 'lr0-graph', label: 'LR(0) automaton', kind: 'graph' },
      { name: 'lr1-graph', label: 'LR(1) automaton', kind: 'graph' },
      { name: 'lalr-graph', label: 'LALR automaton', kind: 'graph' },
    ],
  },
  {
    title: 'Tables',
    commands: [
      { name: 'll1-table', label: 'LL(1)', kind: 'table' },
      { name: 'slr-table', label: 'SLR', kind: 'table' },
      { name: 'lr1-table', label: 'LR(1)', kind: 'table' },
      { name: 'lalr-table', label: 'LALR', kind: 'table' },
    ],
  },
  {
    title: 'Parse the word',
    commands: [
      { name: 'll1-eval', label: 'LL(1)', kind: 'trace' },
      { name: 'slr-eval', label: 'SLR', kind: 'trace' },
      { name: 'lr1-eval', label: 'LR(1)', kind: 'trace' },
      { name: 'lalr-eval', label: 'LALR', kind: 'trace' },
    ],
  },
  {
    // Not a command of the tool: the page's practice, which grades with the tool's `grade`.
    title: 'Practice',
    commands: [{ name: 'practice', label: 'Exercises', kind: 'practice' }],
  },
];

export const COMMANDS: Command[] = COMMAND_GROUPS.flatMap((group) => group.commands);

export function commandNamed(name: string): Command | undefined {
  return COMMANDS.find((command) => command.name === name);
}

// The items listing that goes with a diagram: a click on a state shows its items.
export function itemsCommandOf(graph: string): string {
  return graph.replace('-graph', '-items');
}
