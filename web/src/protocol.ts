// The messages between the page and its worker.

// Run the command-line tool with these arguments on this grammar file, or
// (kind 'problems') read the grammar and place its messages in the editor.
export interface RunRequest {
  id: number;
  kind: 'run' | 'problems';
  args: string[];
  grammar: string;  // the file's bytes as text; the tool reads it as a grammar file
  files?: Record<string, string>;  // more files the arguments name (a student's answer)
}

// What the tool wrote and how it ended, as the command line would show it.
export interface ToolOutput {
  status: number;
  stdout: string;
  stderr: string;
}

export type WorkerMessage =
  | { kind: 'ready'; examples: Example[] }
  | { kind: 'progress'; id: number; what: string; count: number }
  | { kind: 'done'; id: number; output: ToolOutput }
  | { kind: 'failed'; id: number; message: string };

// A message of reading the grammar, placed in the editor: line from 0,
// column and length in UTF-8 bytes.
export interface GrammarProblem {
  message: string;
  place?: { line: number; column: number; length: number };
}

export interface Example {
  name: string;
  lines: string[];
  word: string;
}

// The file the tool reads inside the worker.
export const GRAMMAR_FILE = '/grammar.txt';
