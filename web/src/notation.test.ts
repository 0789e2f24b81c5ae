import { describe, expect, it } from 'vitest';
import { NEW_GRAMMARS, notationOf } from './notation';

describe('the notation of a grammar text', () => {
  it('is the token notation when the declaration is the first line', () => {
    expect(notationOf('#notation: tokens\nE -> E + T | T')).toBe('tokens');
    expect(notationOf('#notation: tokens')).toBe('tokens');
  });

  it('looks past a word line before the declaration, and past trailing blanks and CR', () => {
    expect(notationOf('#word: id + id\n#notation: tokens \t\r\nE -> id')).toBe('tokens');
    expect(notationOf('\uFEFF#notation: tokens\r\nE -> id')).toBe('tokens');
  });

  it('is classic when the declaration is not the first line or is written otherwise', () => {
    expect(notationOf('E -> id\n#notation: tokens')).toBe('classic');
    expect(notationOf('\n#notation: tokens\nE -> id')).toBe('classic');
    expect(notationOf(' #notation: tokens\nE -> id')).toBe('classic');
    expect(notationOf('#notation:tokens\nE -> id')).toBe('classic');
    expect(notationOf('#notation: Tokens\nE -> id')).toBe('classic');
    expect(notationOf('#word: a')).toBe('classic');
    expect(notationOf('')).toBe('classic');
  });

  it('names the notation each new grammar starts in', () => {
    expect(notationOf(NEW_GRAMMARS.tokens.grammar)).toBe('tokens');
    expect(notationOf(NEW_GRAMMARS.classic.grammar)).toBe('classic');
  });
});
