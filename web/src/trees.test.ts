import { describe, expect, it } from 'vitest';
import { grownNodes, treeDot, type TreeNode } from './trees';

// I -> E, E -> E + a | a, for the word a+a: preorder n0 I, n1 E, n2 E, n3 a, n4 +, n5 a.
const tree: TreeNode = {
  symbol: 'I',
  children: [{ symbol: 'E', children: [{ symbol: 'E', children: [{ symbol: 'a' }] }, { symbol: '+' }, { symbol: 'a' }] }],
};

describe('a tree growing bottom-up (LR)', () => {
  it('has nothing before the first step', () => {
    expect([...grownNodes(tree, 0, 0, true)]).toEqual([]);
  });

  it('shows the leaves read and the inner nodes reduced, in postorder', () => {
    // Shift a, Reduce E->a: the leaf and the inner E above it.
    expect([...grownNodes(tree, 1, 1, true)].sort()).toEqual([2, 3]);
    // Then Shift +, Shift a, Reduce E->E+a.
    expect([...grownNodes(tree, 3, 2, true)].sort()).toEqual([1, 2, 3, 4, 5]);
  });

  it('is whole when everything is read and reduced', () => {
    expect(grownNodes(tree, 3, 3, true).size).toBe(6);
  });
});

describe('a tree growing top-down (LL(1))', () => {
  it('shows an expanded node with all its children, read or not', () => {
    // I->E expanded: I and its child E.
    expect([...grownNodes(tree, 0, 1, false)].sort()).toEqual([0, 1]);
    // E->E+a expanded too: its three children appear.
    expect([...grownNodes(tree, 0, 2, false)].sort()).toEqual([0, 1, 2, 4, 5]);
  });
});

describe('the DOT text of a tree', () => {
  it('names nodes in preorder and joins parents to children', () => {
    const dot = treeDot(tree);
    expect(dot).toContain('n0 [id="n0", label="I"];');
    expect(dot).toContain('n1 -> n2;');
    expect(dot).toContain('n1 -> n5;');
  });

  it('draws an empty production as an ε leaf', () => {
    const dot = treeDot({ symbol: 'A', children: [] });
    expect(dot).toContain('n0e [id="n0e", label="ε"];');
    expect(dot).toContain('n0 -> n0e;');
  });

  it('leaves out the nodes not yet grown, and the edges to them', () => {
    const dot = treeDot(tree, (k) => k === 2 || k === 3);
    expect(dot).not.toContain('label="I"');
    expect(dot).toContain('n2 -> n3;');
    expect(dot).not.toContain('n1 -> n2;');
  });

  it('escapes quotes and backslashes in symbols', () => {
    expect(treeDot({ symbol: '"' })).toContain('label="\\""');
  });
});
