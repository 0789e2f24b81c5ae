// A grid as CSV as the tool writes it and reads a table answer: RFC 4180
// quoting, CR LF line ends.

function field(cell: string): string {
  return /[",\r\n]/.test(cell) ? '"' + cell.replace(/"/g, '""') + '"' : cell;
}

export function csvOf(rows: string[][]): string {
  return rows.map((row) => row.map(field).join(',') + '\r\n').join('');
}
