// The README's picture of the page: node scripts/screenshot.mjs OUT.png
// serves build-web/site on localhost and photographs it in headless Chromium.
import puppeteer from 'puppeteer-core';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { CHROMIUM, CHROMIUM_FLAGS, serveSite } from '../test/support.mjs';

const out = process.argv[2] ?? 'web.png';
const grammar = 'I->E\nE->E+T|T\nT->T*F|F\nF->(E)|a';
const server = await serveSite();
const profile = await mkdtemp(join(tmpdir(), 'tablomat-shot-'));
const browser = await puppeteer.launch({ executablePath: CHROMIUM, headless: true, args: [...CHROMIUM_FLAGS, `--user-data-dir=${profile}`] });
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1366, height: 768 });
  await page.goto(`${server.origin}/index.html#g=${encodeURIComponent(grammar)}&w=${encodeURIComponent('a*(a+a)')}&v=lalr-eval`);
  await page.waitForSelector('#result table.grid tr.accept');
  // Halfway through the parse, the tree half grown.
  await page.$eval('#result input[type=range]', (slider) => {
    slider.value = '11';
    slider.dispatchEvent(new Event('input'));
  });
  await page.waitForFunction(() => document.getElementById('status').hidden, { timeout: 30_000 });
  await new Promise((resolve) => setTimeout(resolve, 500));
  await page.screenshot({ path: out });
} finally {
  await browser.close();
  await server.close();
  await rm(profile, { recursive: true, force: true });
}
