// The page's state in its address: index.html#g=<grammar>&w=<word>&v=<command>,
// each part percent-encoded, so that a link opens the same work.

export interface LinkState {
  grammar: string;
  word: string;
  command: string;
}

export function encodeLink(state: LinkState): string {
  const parts: string[] = [];
  parts.push('g=' + encodeURIComponent(state.grammar));
  parts.push('w=' + encodeURIComponent(state.word));
  if (state.command) parts.push('v=' + encodeURIComponent(state.command));
  return '#' + parts.join('&');
}

function decodePart(text: string): string | undefined {
  try {
    return decodeURIComponent(text.replace(/\+/g, '%20'));
  } catch {
    return undefined;  // a broken escape: the part is ignored rather than the whole link
  }
}

// The parts the hash holds; those missing or unreadable are left out.
export function decodeLink(hash: string): Partial<LinkState> {
  const state: Partial<LinkState> = {};
  const body = hash.startsWith('#') ? hash.slice(1) : hash;
  for (const part of body.split('&')) {
    const at = part.indexOf('=');
    if (at < 0) continue;
    const value = decodePart(part.slice(at + 1));
    if (value === undefined) continue;
    const key = part.slice(0, at);
    if (key === 'g') state.grammar = value.replace(/\r\n?/g, '\n');
    else if (key === 'w') state.word = value;
    else if (key === 'v') state.command = value;
  }
  return state;
}
