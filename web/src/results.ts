// Reading the tool's JSON outputs for display; what they mean is the tool's.

export type Grid = string[][];

// A table or a trace in the tool's JSON: rows of cells, the first row the header.
export function gridOf(json: string): Grid {
  const value = JSON.parse(json);
  if (!Array.isArray(value) || !value.every((row) => Array.isArray(row))) throw new Error('not a table');
  return value.map((row: unknown[]) => row.map((cell) => String(cell)));
}

// A listing in the tool's JSON: its lines.
export function linesOf(json: string): string[] {
  const value = JSON.parse(json);
  if (!Array.isArray(value)) throw new Error('not a listing');
  return value.map((line) => String(line));
}

// A cell holding more than one entry, which the tool joins with '|'.
export function isConflict(cell: string): boolean {
  return cell.includes('|');
}

// How a trace ended: its last action.
export function traceEnd(grid: Grid): 'Accept' | 'Error' | undefined {
  const last = grid.length > 1 ? grid[grid.length - 1] : undefined;
  const action = last?.[last.length - 1];
  return action === 'Accept' || action === 'Error' ? action : undefined;
}

// The lines of state n in an items listing: from "State<n> - ..." to its rule.
export function stateItems(lines: string[], n: number): string[] {
  const start = lines.findIndex((line) => line.startsWith(`State${n} `));
  if (start < 0) return [];
  const end = lines.findIndex((line, k) => k > start && line.startsWith('----'));
  return lines.slice(start, end < 0 ? undefined : end);
}

// The state a diagram's node stands for ("s3" is state 3), or undefined.
export function stateOfNode(id: string): number | undefined {
  const match = /^s(\d+)$/.exec(id);
  return match ? Number(match[1]) : undefined;
}
