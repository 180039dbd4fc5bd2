// A small driver for Debian's headless Chromium over the DevTools protocol on a pipe
// (--remote-debugging-pipe: commands on fd 3, replies on fd 4, each message NUL-ended), and a
// static file server on 127.0.0.1 for the built page. Nothing is downloaded.
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';

const kTypes = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.cjs': 'text/javascript', '.css': 'text/css', '.json': 'application/json', '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json' };

/// Serves `root` on 127.0.0.1 (a free port); resolves to {url, close()}.
export function serve(root) {
  const server = createServer((req, res) => {
    const path = normalize(decodeURIComponent(new URL(req.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    let file = join(root, path);
    try {
      if (statSync(file).isDirectory()) file = join(file, 'index.html');
      const body = readFileSync(file);
      res.writeHead(200, { 'content-type': kTypes[extname(file)] ?? 'application/octet-stream' });
      res.end(body);
    } catch {
      res.writeHead(404);
      res.end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => server.close(done)),
  })));
}

export async function launch({ width = 1280, height = 800 } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'tavrel1-chromium-'));
  const proc = spawn(process.env.CHROMIUM ?? '/usr/bin/chromium', [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-extensions',
    '--remote-debugging-pipe', `--user-data-dir=${profile}`, `--window-size=${width},${height}`,
    'about:blank'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const toChrome = proc.stdio[3], fromChrome = proc.stdio[4];
  let nextId = 1, pending = '';
  const waiting = new Map(), listeners = [];
  fromChrome.on('data', (chunk) => {
    pending += chunk.toString('utf8');
    let end;
    while ((end = pending.indexOf('\0')) >= 0) {
      const msg = JSON.parse(pending.slice(0, end));
      pending = pending.slice(end + 1);
      if (msg.id && waiting.has(msg.id)) {
        const { resolve, reject } = waiting.get(msg.id);
        waiting.delete(msg.id);
        if (msg.error) reject(new Error(`${msg.error.message} ${msg.error.data ?? ''}`));
        else resolve(msg.result);
      } else {
        for (const l of listeners) l(msg);
      }
    }
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    const id = nextId++;
    waiting.set(id, { resolve, reject });
    toChrome.write(`${JSON.stringify({ id, method, params, sessionId })}\0`);
  });
  const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
  const page = new Page(send, sessionId, listeners);
  await page.init(width, height);
  return {
    page,
    async close() {
      try {
        await send('Browser.close');
      } catch { /* already gone */ }
      await new Promise((r) => (proc.exitCode !== null ? r() : proc.once('exit', r)));
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

class Page {
  constructor(send, sessionId, listeners) {
    this.send = (method, params) => send(method, params, sessionId);
    this.sessionId = sessionId;
    this.listeners = listeners;
    this.errors = [];
    listeners.push((msg) => {
      if (msg.sessionId !== sessionId) return;
      if (msg.method === 'Runtime.exceptionThrown') this.errors.push(msg.params.exceptionDetails.exception?.description ?? msg.params.exceptionDetails.text);
      if (msg.method === 'Runtime.consoleAPICalled' && msg.params.type === 'error') this.errors.push(msg.params.args.map((a) => a.value ?? a.description).join(' '));
    });
  }

  async init(width, height) {
    await this.send('Page.enable');
    await this.send('Runtime.enable');
    await this.viewport(width, height);
  }

  async viewport(width, height, mobile = false) {
    await this.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile });
  }

  event(method) {
    return new Promise((resolve) => {
      const l = (msg) => {
        if (msg.sessionId === this.sessionId && msg.method === method) {
          this.listeners.splice(this.listeners.indexOf(l), 1);
          resolve(msg.params);
        }
      };
      this.listeners.push(l);
    });
  }

  async goto(url) {
    const loaded = this.event('Page.loadEventFired');
    await this.send('Page.navigate', { url });
    await loaded;
  }

  /// Evaluates an expression (awaiting a promise) and returns its value.
  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) throw new Error(r.exceptionDetails.exception?.description ?? r.exceptionDetails.text);
    return r.result.value;
  }

  async waitFor(expression, timeoutMs = 10000) {
    const end = Date.now() + timeoutMs;
    for (;;) {
      const v = await this.eval(expression);
      if (v) return v;
      if (Date.now() > end) throw new Error(`timed out waiting for ${expression}`);
      await new Promise((r) => setTimeout(r, 20));
    }
  }

  /// A real click in the middle of the element: mouse moved, pressed and released.
  async click(selector) {
    const box = await this.eval(`(() => { const e = document.querySelector(${JSON.stringify(selector)});
      e.scrollIntoView({block: 'center'}); const r = e.getBoundingClientRect();
      return {x: r.x + r.width / 2, y: r.y + r.height / 2}; })()`);
    for (const type of ['mouseMoved', 'mousePressed', 'mouseReleased'])
      await this.send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left', clickCount: 1 });
  }

  async key(key, code = key, keyCode = 0) {
    const text = key.length === 1 ? key : key === 'Enter' ? '\r' : undefined;
    await this.send('Input.dispatchKeyEvent', { type: text ? 'keyDown' : 'rawKeyDown', key, code, text, windowsVirtualKeyCode: keyCode });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', key, code, windowsVirtualKeyCode: keyCode });
  }

  async press(name) {
    const codes = { Backspace: 8, Tab: 9, Enter: 13, Escape: 27, ArrowUp: 38, ArrowDown: 40, Delete: 46 };
    await this.key(name, name, codes[name]);
  }

  /// Types text as keystrokes into the focused element.
  async type(text) {
    for (const ch of text) await this.key(ch);
  }

  async screenshot() {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png', captureBeyondViewport: false });
    return Buffer.from(data, 'base64');
  }
}
