// The worker: the library compiled to WebAssembly runs here, so that long
// work leaves the page responsive; the page cancels by ending the worker.
import createTablomat from './tablomat-web.js';
import { GRAMMAR_FILE, type RunRequest, type WorkerMessage } from './protocol';

const post = (message: WorkerMessage) => (self as unknown as Worker).postMessage(message);

// The bytes of a standard stream, which emscripten hands over one at a time.
class ByteSink {
  private bytes = new Uint8Array(1 << 16);
  private length = 0;

  push(byte: number): void {
    if (this.length === this.bytes.length) {
      const larger = new Uint8Array(this.bytes.length * 2);
      larger.set(this.bytes);
      this.bytes = larger;
    }
    this.bytes[this.length++] = byte;
  }

  // The text written since the last take.
  take(): string {
    const text = decoder.decode(this.bytes.subarray(0, this.length));
    this.length = 0;
    return text;
  }
}

let current = 0;
const decoder = new TextDecoder();
const stdout = new ByteSink();
const stderr = new ByteSink();

const module = await createTablomat({
  preRun: [(m: any) => m.FS.init(null, (c: number | null) => c !== null && stdout.push(c),
                                 (c: number | null) => c !== null && stderr.push(c))],
  onProgress: (what: string, count: number) => post({ kind: 'progress', id: current, what, count }),
});


self.onmessage = (event: MessageEvent<RunRequest>) => {
  const request = event.data;
  current = request.id;
  stdout.take();
  stderr.take();
  try {
    if (request.kind === 'problems') {
      const problems = module.grammarProblemsJson(request.grammar);
      post({ kind: 'done', id: request.id, output: { status: 0, stdout: problems, stderr: '' } });
      return;
    }
    module.FS.writeFile(GRAMMAR_FILE, request.grammar);
    for (const [path, text] of Object.entries(request.files ?? {})) module.FS.writeFile(path, text);
    const args = new module.StringList();
    for (const arg of request.args) args.push_back(arg);
    const status = module.run(args);
    args.delete();
    post({ kind: 'done', id: request.id, output: { status, stdout: stdout.take(), stderr: stderr.take() } });
  } catch (error) {
    // The module cannot be trusted after a trap: the page starts a fresh worker.
    post({ kind: 'failed', id: request.id, message: String(error) });
  }
};

post({ kind: 'ready', examples: JSON.parse(module.examplesJson()) });
