import { describe, expect, it } from 'vitest';
import { csvOf } from './csv';

describe('a table answer as CSV', () => {
  it('writes plain cells as they are, a row a line ended by CR LF', () => {
    expect(csvOf([['', 'x', '$'], ['0', 's3', '']])).toBe(',x,$\r\n0,s3,\r\n');
  });

  it('quotes cells with commas, quotes or line breaks, doubling the quotes', () => {
    expect(csvOf([['a,b', 'say "x"', 'two\nlines']])).toBe('"a,b","say ""x""","two\nlines"\r\n');
  });

  it('leaves a cell with a bar, as a conflict is written, unquoted', () => {
    expect(csvOf([['a|r2']])).toBe('a|r2\r\n');
  });
});
