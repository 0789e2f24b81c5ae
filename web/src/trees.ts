// Parse trees as the tool gives them in JSON, drawn as DOT for Graphviz in
// the tool's own style of tree drawings.

export interface TreeNode {
  symbol: string;
  children?: TreeNode[];
}

function quoted(text: string): string {
  return '"' + text.replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"';
}

// Nodes are named n0, n1, ... in preorder; `shown`, when given, keeps only
// the nodes it accepts (by preorder index), with the edges between them.
export function treeDot(tree: TreeNode, shown?: (index: number) => boolean): string {
  const lines = [
    'digraph "parse tree" {',
    '  graph [ordering=out, nodesep=0.18, ranksep=0.3];',
    '  node [shape=plaintext, fontname="Courier", fontsize=14, width=0.3, height=0.3, margin=0.02];',
    '  edge [arrowhead=none];',
  ];
  let next = 0;
  const visit = (node: TreeNode): string => {
    const name = 'n' + next;
    const index = next++;
    const visible = !shown || shown(index);
    if (visible) lines.push(`  ${name} [id="${name}", label=${quoted(node.symbol === '' ? 'ε' : node.symbol)}];`);
    const children = node.children ?? [];
    if (children.length === 0 && node.children !== undefined && visible) {
      // An empty production: the tool's trees show an ε leaf under it.
      const leaf = name + 'e';
      lines.push(`  ${leaf} [id="${leaf}", label="ε"];`, `  ${name} -> ${leaf};`);
    }
    for (const child of children) {
      const childIndex = next;
      const childName = visit(child);
      if (visible && (!shown || shown(childIndex))) lines.push(`  ${name} -> ${childName};`);
    }
    return name;
  };
  visit(tree);
  lines.push('}');
  return lines.join('\n') + '\n';
}

// The nodes of the tree that a parse has built after its first steps:
// `shifted` terminals read and `built` productions applied.  A bottom-up
// parse (LR) builds the inner nodes in postorder, a top-down one (LL(1))
// in preorder, and both read the leaves from left to right.
export function grownNodes(tree: TreeNode, shifted: number, built: number, bottomUp: boolean): Set<number> {
  const inner: number[] = [];
  const leaves: number[] = [];
  let next = 0;
  const visit = (node: TreeNode): void => {
    const index = next++;
    if (node.children === undefined) {
      leaves.push(index);
      return;
    }
    if (!bottomUp) inner.push(index);
    for (const child of node.children) visit(child);
    if (bottomUp) inner.push(index);
  };
  visit(tree);
  const expanded = new Set(inner.slice(0, built));
  const shown = new Set<number>([...leaves.slice(0, shifted), ...expanded]);
  if (!bottomUp) {
    // An expanded node shows its children, read or not yet.
    let index = 0;
    const mark = (node: TreeNode, parent: number) => {
      const me = index++;
      if (expanded.has(parent)) shown.add(me);
      for (const child of node.children ?? []) mark(child, me);
    };
    mark(tree, -1);
  }
  return shown;
}
