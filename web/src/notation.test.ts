import { describe, expect, it } from 'vitest';
import { notationOf } from './notation';

describe('the notation of a grammar text', () => {
  it('looks past a word line before the declaration, and past trailing blanks, CR and a byte order mark', () => {
    expect(notationOf('#word: id + id\n#notation: tokens \t\r\nE -> id')).toBe('tokens');
    expect(notationOf('\uFEFF#notation: tokens\r\nE -> id')).toBe('tokens');
  });

  it('is classic when the declaration is not the first line or is written otherwise', () => {
    expect(notationOf('E -> id\n#notation: tokens')).toBe('classic');
    expect(notationOf('\n#notation: tokens\nE -> id')).toBe('classic');
    expect(notationOf(' #notation: tokens\nE -> id')).toBe('classic');
    expect(notationOf('#notation:tokens\nE -> id')).toBe('classic');
    expect(notationOf('#word: a')).toBe('classic');
  });
});
