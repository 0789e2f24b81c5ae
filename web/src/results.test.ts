import { describe, expect, it } from 'vitest';
import { gridOf, isConflict, linesOf, stateItems, stateOfNode, traceEnd } from './results';

const listing = [
  'State0 - Clousure(I->°A):', '   I->°A', '', ' Arcs:', '  0 --> A --> 1', '-------------------------', '',
  'State1 - Goto(State0,A):', '   I->A°', '', ' Arcs:', '  1 --> $ --> Accept', '-------------------------', '',
  'State10 - Goto(State1,x):', '   A->x°', '-------------------------',
];

describe('the tool\'s tables', () => {
  it('reads rows of cells', () => {
    expect(gridOf('[["","x","$"],["0","s3",""]]')).toEqual([['', 'x', '$'], ['0', 's3', '']]);
  });

  it('refuses a listing where a table is expected', () => {
    expect(() => gridOf('["First(S): a"]')).toThrow();
  });

  it('marks the cells with two entries as conflicts, in LR and LL(1) tables alike', () => {
    expect(isConflict('a|r2')).toBe(true);
    expect(isConflict('A->S|x')).toBe(true);
    expect(isConflict('s3')).toBe(false);
    expect(isConflict('')).toBe(false);
  });
});

describe('a trace', () => {
  const header = ['', 'Stack', 'Input', 'Action'];
  it('ends in Accept or Error, or neither', () => {
    expect(traceEnd([header, ['1', '0', 'a$', 'Shift'], ['2', '0 1 ', '$', 'Accept']])).toBe('Accept');
    expect(traceEnd([header, ['1', '0', 'b$', 'Error']])).toBe('Error');
    expect(traceEnd([header])).toBeUndefined();
  });
});

describe('the items of a state', () => {
  it('are the lines of its section, the title first', () => {
    expect(stateItems(listing, 1)).toEqual(['State1 - Goto(State0,A):', '   I->A°', '', ' Arcs:', '  1 --> $ --> Accept']);
  });

  it('are not those of a state whose number begins the same', () => {
    expect(stateItems(listing, 1)[0]).toBe('State1 - Goto(State0,A):');
    expect(stateItems(listing, 10)).toEqual(['State10 - Goto(State1,x):', '   A->x°']);
  });

  it('are none for a state the listing lacks', () => {
    expect(stateItems(listing, 7)).toEqual([]);
  });

  it('belong to the diagram node named after the state', () => {
    expect(stateOfNode('s12')).toBe(12);
    expect(stateOfNode('accept')).toBeUndefined();
    expect(stateOfNode('more3')).toBeUndefined();
  });
});

describe('a listing', () => {
  it('is its lines', () => {
    expect(linesOf('["First(I): xy","First(A): xy"]')).toEqual(['First(I): xy', 'First(A): xy']);
  });
});
