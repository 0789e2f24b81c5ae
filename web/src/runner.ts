// The page's side of the worker: runs the tool's commands one after another,
// reports their progress, and cancels by ending the worker and starting a
// fresh one (WebAssembly cannot be interrupted from outside).
import type { Example, GrammarProblem, RunRequest, ToolOutput, WorkerMessage } from './protocol';

export class Cancelled extends Error {
  constructor() {
    super('Cancelled.');
  }
}

interface Job {
  request: RunRequest;
  resolve: (output: ToolOutput) => void;
  reject: (error: Error) => void;
}

export interface RunnerEvents {
  onProgress?: (what: string, count: number) => void;
  onBusy?: (busy: boolean) => void;
}

export class Runner {
  private worker!: Worker;
  private ready!: Promise<Example[]>;
  private queue: Job[] = [];
  private running: Job | undefined;
  private nextId = 1;

  constructor(private readonly workerUrl: URL, private readonly events: RunnerEvents = {}) {
    this.start();
  }

  examples(): Promise<Example[]> {
    return this.ready;
  }

  run(args: string[], grammar: string, files?: Record<string, string>): Promise<ToolOutput> {
    return this.enqueue({ id: this.nextId++, kind: 'run', args, grammar, files });
  }

  async problems(grammar: string): Promise<GrammarProblem[]> {
    const output = await this.enqueue({ id: this.nextId++, kind: 'problems', args: [], grammar });
    return JSON.parse(output.stdout);
  }

  private enqueue(request: RunRequest): Promise<ToolOutput> {
    return new Promise((resolve, reject) => {
      this.queue.push({ request, resolve, reject });
      void this.pump();
    });
  }

  // Ends the work running and waiting; their promises reject with Cancelled.
  cancel(): void {
    this.worker.terminate();
    const dropped = [...(this.running ? [this.running] : []), ...this.queue];
    this.running = undefined;
    this.queue = [];
    this.start();
    for (const job of dropped) job.reject(new Cancelled());
    this.events.onBusy?.(false);
  }

  private start(): void {
    this.worker = new Worker(this.workerUrl, { type: 'module' });
    this.ready = new Promise((resolve, reject) => {
      this.worker.onerror = (event) => {
        const error = new Error('The page\'s worker failed to start: ' + (event.message || 'unknown error'));
        reject(error);
        this.running?.reject(error);
      };
      this.worker.onmessage = (event: MessageEvent<WorkerMessage>) => {
        const message = event.data;
        if (message.kind === 'ready') resolve(message.examples);
        else this.receive(message);
      };
    });
  }

  private receive(message: WorkerMessage): void {
    const job = this.running;
    if (!job || message.kind === 'ready' || message.id !== job.request.id) return;
    if (message.kind === 'progress') {
      this.events.onProgress?.(message.what, message.count);
      return;
    }
    this.running = undefined;
    if (message.kind === 'done') {
      job.resolve(message.output);
    } else {
      // A trap leaves the module unusable: a fresh worker for what follows.
      this.worker.terminate();
      this.start();
      job.reject(new Error('Internal failure of the program: ' + message.message));
    }
    void this.pump();
  }

  private async pump(): Promise<void> {
    if (this.running || this.queue.length === 0) {
      if (!this.running) this.events.onBusy?.(false);
      return;
    }
    const job = this.queue.shift()!;
    this.running = job;
    this.events.onBusy?.(true);
    try {
      await this.ready;
    } catch (error) {
      this.running = undefined;
      job.reject(error as Error);
      return;
    }
    if (this.running === job) this.worker.postMessage(job.request);
  }
}
