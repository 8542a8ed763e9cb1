// The page of `zebscribe graph --format html` in a real browser:
//   node graph_page_test.mjs SAMPLE.html SAMPLE_DIRECT_CALLS.log NETWORK100.html NETWORK10000.html
// The sample's page loads without an uncaught error and draws every node the
// sample client added (as its direct run against the echo backend logged
// them); a click on a node shows its op type in the panel. The 100-node page
// draws all its nodes; the 10,000-node page opens and answers a search
// within LARGE_LIMIT_MS. Prints the times it measured.
import { chromium } from 'playwright-core';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const LARGE_LIMIT_MS = 60000;  // open the 10,000-node page and find a node, on a loaded 2-core machine
const MEDIUM_LIMIT_MS = 20000; // open the 100-node page and draw it whole
const [samplePage, sampleCalls, mediumPage, largePage] = process.argv.slice(2);

let passed = 0, failed = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (ok) passed++; else failed++;
}

// The nodes the client added, as the echo backend logged them.
function addedNodes(log) {
  const nodes = [];
  for (const line of readFileSync(log, 'utf8').split('\n')) {
    const found = /^graphAddNode .*? op=\{version=1,name="([^"]*)",package="[^"]*",type="([^"]*)"/.exec(line);
    if (found) nodes.push(`${found[1]} ${found[2]}`);
  }
  return nodes.sort();
}

async function open(context, file) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  const started = Date.now();
  await page.goto(pathToFileURL(file).href);
  await page.waitForSelector('body[data-state="ready"]', {timeout: LARGE_LIMIT_MS});
  return {page, errors, openMs: Date.now() - started};
}

const drawnNodes = (page) => page.$$eval('g.node', (nodes) => nodes.map((g) => {
  const texts = g.querySelectorAll('text');
  const box = g.getBoundingClientRect();
  return {text: texts.length > 1 ? `${texts[0].textContent} ${texts[1].textContent}` : '', inView: box.top >= 0 && box.bottom <= innerHeight && box.left >= 0 && box.right <= innerWidth};
}));

async function sample(context) {
  const {page, errors} = await open(context, samplePage);
  const expected = addedNodes(sampleCalls);
  const drawn = await drawnNodes(page);
  check(expected.length === 5, `the sample client added 5 nodes: ${expected.join(', ')}`);
  check(JSON.stringify(drawn.map((n) => n.text).sort()) === JSON.stringify(expected), 'the sample page draws each of them');
  check(drawn.every((n) => n.inView), 'all of them in view');
  await page.click('g.node:has(text:text-is("fc"))');
  await page.waitForSelector('#panel:not([hidden]) .op-type');
  check(await page.textContent('#panel .op-type') === 'FullyConnected', 'a click on fc shows its op type in the panel');
  check((await page.textContent('#panel')).includes('fc.weight'), 'and its weights');
  check(errors.length === 0, `no uncaught error ${errors.join('; ')}`);
}

async function medium(context) {
  const {page, errors, openMs} = await open(context, mediumPage);
  await page.click('#fit');
  await page.waitForFunction(() => document.querySelectorAll('g.node').length === 100, null, {timeout: MEDIUM_LIMIT_MS});
  console.log(`100-node page: opened in ${openMs} ms (${await page.textContent('#status')})`);
  check(openMs < MEDIUM_LIMIT_MS, `the 100-node page opens within ${MEDIUM_LIMIT_MS} ms`);
  check((await drawnNodes(page)).every((n) => n.inView), 'and shows all its nodes at once');
  check(errors.length === 0, `no uncaught error ${errors.join('; ')}`);
}

async function large(context) {
  const started = Date.now();
  const {page, errors, openMs} = await open(context, largePage);
  const status = await page.textContent('#status');
  await page.fill('#search', 'block_1234/depthwise');
  await page.press('#search', 'Enter');
  await page.waitForSelector('#panel:not([hidden]) h2', {timeout: LARGE_LIMIT_MS});
  const totalMs = Date.now() - started;
  console.log(`10,000-node page: opened in ${openMs} ms (${status}); found a node ${totalMs - openMs} ms later`);
  check(status.startsWith('10000 nodes'), 'the large page holds 10,000 nodes');
  check(await page.textContent('#panel h2') === 'block_1234/depthwise', 'a search finds the node and shows it');
  check(await page.textContent('#panel .op-type') === 'DepthWiseConv2d', 'with its op type');
  check((await page.$$('g.node.selected')).length === 1, 'drawn, selected, in view');
  check(totalMs < LARGE_LIMIT_MS, `opened and answered within ${LARGE_LIMIT_MS} ms`);
  check(errors.length === 0, `no uncaught error ${errors.join('; ')}`);
}

const profile = mkdtempSync(join(tmpdir(), 'zeb-chromium-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: {width: 1400, height: 900},
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  await sample(context);
  await medium(context);
  await large(context);
} catch (error) {
  check(false, `the test ran to its end: ${error.message}`);
} finally {
  await context.close();
  rmSync(profile, {recursive: true, force: true});
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
