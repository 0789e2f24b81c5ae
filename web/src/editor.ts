// The grammar editor: CodeMirror 6 with the grammar's messages marked on
// their lines, as the tool places them.
import { EditorState } from '@codemirror/state';
import { EditorView, keymap, lineNumbers, highlightActiveLine, drawSelection } from '@codemirror/view';
import { defaultKeymap, history, historyKeymap } from '@codemirror/commands';
import { linter, lintGutter, setDiagnostics, type Diagnostic } from '@codemirror/lint';
import type { GrammarProblem } from './protocol';
import { placeInText } from './places';

export interface GrammarEditor {
  view: EditorView;
  text(): string;
  setText(text: string): void;
  showProblems(problems: GrammarProblem[]): void;
}

export function createEditor(parent: HTMLElement, text: string, onChange: (text: string) => void): GrammarEditor {
  const view = new EditorView({
    parent,
    state: EditorState.create({
      doc: text,
      extensions: [
        lineNumbers(),
        history(),
        drawSelection(),
        highlightActiveLine(),
        lintGutter(),
        linter(null),
        keymap.of([...defaultKeymap, ...historyKeymap]),
        EditorView.lineWrapping,
        EditorView.contentAttributes.of({ 'aria-label': 'Grammar', spellcheck: 'false', autocapitalize: 'off' }),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) onChange(update.state.doc.toString());
        }),
      ],
    }),
  });
  return {
    view,
    text: () => view.state.doc.toString(),
    setText(next: string) {
      view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: next } });
    },
    showProblems(problems: GrammarProblem[]) {
      const doc = view.state.doc.toString();
      const diagnostics: Diagnostic[] = [];
      for (const problem of problems) {
        const span = problem.place ? placeInText(doc, problem.place) : { from: 0, to: 0 };
        diagnostics.push({ ...span, severity: 'error', message: problem.message });
      }
      view.dispatch(setDiagnostics(view.state, diagnostics));
    },
  };
}
