// The last work, kept in this browser only, so that it comes back.
import type { LinkState } from './link';

const KEY = 'tablomat.work';

export function savedWork(): Partial<LinkState> | undefined {
  try {
    const text = localStorage.getItem(KEY);
    return text ? JSON.parse(text) : undefined;
  } catch {
    return undefined;  // storage refused (private mode) or a broken entry: start afresh
  }
}

export function saveWork(state: LinkState): void {
  try {
    localStorage.setItem(KEY, JSON.stringify(state));
  } catch {
    // Full or refused: the link still holds the work.
  }
}

export function savedTheme(): string | undefined {
  try {
    return localStorage.getItem('tablomat.theme') ?? undefined;
  } catch {
    return undefined;
  }
}

export function saveTheme(theme: string): void {
  try {
    localStorage.setItem('tablomat.theme', theme);
  } catch {
    // The theme is a preference; losing it costs nothing.
  }
}
