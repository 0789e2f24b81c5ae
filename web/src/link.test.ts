import { describe, expect, it } from 'vitest';
import { decodeLink, encodeLink } from './link';

describe('the link', () => {
  it('carries a grammar, a word and a command back unchanged', () => {
    const state = { grammar: 'I->E\nE->E+T|T\nT->(E)|a', word: 'a+(a)', command: 'lr1-table' };
    expect(decodeLink(encodeLink(state))).toEqual(state);
  });

  it('keeps every character a grammar may hold, & = # % + and non-ASCII among them', () => {
    const state = { grammar: 'S->a&b=c#d%e+f|é→ε', word: ' a b ', command: 'lalr-eval' };
    expect(decodeLink(encodeLink(state))).toEqual(state);
  });

  it('reads a hand-written link whose spaces are plus signs', () => {
    expect(decodeLink('#g=S-%3Ea&w=a+b&v=first')).toEqual({ grammar: 'S->a', word: 'a b', command: 'first' });
  });

  it('turns CR LF line ends into the editor\'s', () => {
    expect(decodeLink('#g=S-%3Ea%0D%0AS-%3Eb').grammar).toBe('S->a\nS->b');
  });

  it('ignores a part with a broken escape and keeps the others', () => {
    expect(decodeLink('#g=S-%3Ea&w=%E0%A4%A&v=first')).toEqual({ grammar: 'S->a', command: 'first' });
  });

  it('gives nothing for an empty hash', () => {
    expect(decodeLink('')).toEqual({});
  });
});
