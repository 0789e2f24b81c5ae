// Graphviz compiled to WebAssembly (@viz-js/viz), loaded once, for the
// automaton diagrams and the trees.
import { instance, type Viz } from '@viz-js/viz';

let viz: Promise<Viz> | undefined;

export function graphviz(): Promise<Viz> {
  viz ??= instance();
  return viz;
}

// The DOT text laid out and drawn; throws with Graphviz's own messages.
export async function svgOfDot(dot: string): Promise<SVGSVGElement> {
  const result = (await graphviz()).render(dot, { format: 'svg' });
  if (result.status !== 'success') throw new Error(result.errors.map((e) => e.message).join('\n') || 'Graphviz could not draw the graph.');
  const parsed = new DOMParser().parseFromString(result.output, 'image/svg+xml');
  return document.importNode(parsed.documentElement, true) as unknown as SVGSVGElement;
}
