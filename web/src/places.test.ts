import { describe, expect, it } from 'vitest';
import { placeInText } from './places';

describe('a message placed in the editor', () => {
  it('finds the symbol on a later line', () => {
    const text = 'I->A\nA->xB\n';
    expect(placeInText(text, { line: 1, column: 4, length: 1 })).toEqual({ from: 9, to: 10 });
  });

  it('counts characters, not bytes, after a non-ASCII symbol', () => {
    // 'é' is two bytes and one code unit; 'x' after it is byte 5, unit 4.
    const text = 'S->éx';
    expect(placeInText(text, { line: 0, column: 5, length: 1 })).toEqual({ from: 4, to: 5 });
  });

  it('covers a whole multi-byte symbol', () => {
    expect(placeInText('S->→', { line: 0, column: 3, length: 3 })).toEqual({ from: 3, to: 4 });
  });

  it('stays inside the text when the place lies past its end', () => {
    const placed = placeInText('S->a', { line: 5, column: 0, length: 1 });
    expect(placed.from).toBeLessThanOrEqual(4);
  });
});
