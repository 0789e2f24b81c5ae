// The tool places a message by line and UTF-8 bytes; the editor counts
// UTF-16 code units from the start of the text.

const encoder = new TextEncoder();

// The code unit offset in `line` of its UTF-8 byte `bytes`.
function unitsOfBytes(line: string, bytes: number): number {
  let count = 0;
  let units = 0;
  for (const character of line) {
    if (count >= bytes) break;
    count += encoder.encode(character).length;
    units += character.length;
  }
  return units;
}

export function placeInText(text: string, place: { line: number; column: number; length: number }): { from: number; to: number } {
  const lines = text.split('\n');
  const lineIndex = Math.min(place.line, lines.length - 1);
  let start = 0;
  for (let k = 0; k < lineIndex; ++k) start += lines[k].length + 1;
  const line = lines[lineIndex].replace(/\r$/, '');
  const from = start + unitsOfBytes(line, place.column);
  const to = start + unitsOfBytes(line, place.column + Math.max(place.length, 1));
  return { from, to: Math.max(to, from) };
}
