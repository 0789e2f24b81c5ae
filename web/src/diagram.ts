// Graphviz compiled to WebAssembly (@viz-js/viz), for the automaton
// diagrams and the trees; loaded at the first drawing, so that the page
// opens without its megabytes.
import type { Viz } from '@viz-js/viz';

let viz: Promise<Viz> | undefined;

export function graphviz(): Promise<Viz> {
  viz ??= import('@viz-js/viz').then((module) => module.instance());
  return viz;
}

// The DOT text laid out and drawn; throws with Graphviz's own messages.
export async function svgOfDot(dot: string): Promise<SVGSVGElement> {
  const result = (await graphviz()).render(dot, { format: 'svg' });
  if (result.status !== 'success') throw new Error(result.errors.map((e) => e.message).join('\n') || 'Graphviz could not draw the graph.');
  const parsed = new DOMParser().parseFromString(result.output, 'image/svg+xml');
  return document.importNode(parsed.documentElement, true) as unknown as SVGSVGElement;
}
