// Which notation a grammar text is in, decided as the tool decides it: the
// token notation when its first line, a #word: line before it aside, is
// "#notation: tokens"; else the classic notation, one character a symbol.
// And the grammars the page starts a new one from, in either notation.

export type Notation = 'classic' | 'tokens';

export const TOKEN_NOTATION_LINE = '#notation: tokens';

export function notationOf(text: string): Notation {
  // A file's byte order mark is no part of its first line.
  const lines = text.replace(/^\uFEFF/, '').split('\n');
  for (const line of lines) {
    const trimmed = line.replace(/[ \t\r]+$/, '');
    if (trimmed.startsWith('#word:')) continue;
    return trimmed === TOKEN_NOTATION_LINE ? 'tokens' : 'classic';
  }
  return 'classic';
}

export const NOTATION_NAMES: Record<Notation, string> = { classic: 'Classic notation', tokens: 'Token notation' };

export const NOTATION_HINTS: Record<Notation, string> = {
  classic: 'One character a symbol: X->aB|e, upper-case letters the non-terminals.',
  tokens: 'Symbols between blanks (E -> E + T | T), read so because the first line is #notation: tokens.',
};

// The expression grammar in either notation, with a word it derives: a
// start from which to change the grammar rather than a blank editor.
export const NEW_GRAMMARS: Record<Notation, { grammar: string; word: string }> = {
  classic: { grammar: 'I->E\nE->E+T|T\nT->T*F|F\nF->(E)|a', word: 'a+a*(a)' },
  tokens: {
    grammar: `${TOKEN_NOTATION_LINE}\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num`,
    word: 'id + num * ( id )',
  },
};
