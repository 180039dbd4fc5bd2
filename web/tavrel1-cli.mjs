#!/usr/bin/env node
// tavrel1-cli under node: `node tavrel1-cli.mjs --component Benzene --temp 25 --press 1`.
// The calculation and every printed byte come from the same C++ as the native program
// (tavrel1-cli-core.cjs, WebAssembly embedded); this file hands it the arguments, the shipped
// component list (components.json beside it) and the standard streams.
import { readFileSync, realpathSync, writeSync } from 'node:fs';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const here = new URL('.', import.meta.url);
const require = createRequire(import.meta.url);
const createTavrel1Cli = require('./tavrel1-cli-core.cjs');

let listed = null;
function shippedList() {
  if (listed === null) {
    const rows = JSON.parse(readFileSync(new URL('components.json', here), 'utf8'));
    listed = new Map();
    for (const c of rows) {
      if (!listed.has(c.name)) listed.set(c.name, c);
    }
  }
  return listed;
}

/// Writes every byte, however the stream takes them (a pipe may take part of a write).
function writeAll(fd, bytes) {
  for (let done = 0; done < bytes.length;) {
    try {
      done += writeSync(fd, bytes, done, bytes.length - done);
    } catch (e) {
      if (e.code !== 'EAGAIN') throw e;
    }
  }
}

/// Loads the module once; `run(args)` then runs one command line and returns its exit status.
/// `streams` receives the output: (fd, bytes) => void.
export async function loadCli(streams = writeAll) {
  const module = await createTavrel1Cli({
    findListed(name) {
      const c = shippedList().get(name);
      return c ? { values: [...c.constants, ...(c.antoine ?? [null, null, null])],
                   antoine: c.antoine !== null } : null;
    },
    listedNames() {
      return [...shippedList().keys()].join('\n');
    },
    writeStream(fd, bytes) {
      if (bytes.length > 0) streams(fd, bytes);
    },
  });
  const encoder = new TextEncoder();
  return {
    run(args) {
      const bytes = encoder.encode(args.map((a) => a + '\0').join(''));
      const buffer = module._malloc(bytes.length + 1);
      module.HEAPU8.set(bytes, buffer);
      try {
        return module._t1_cli(buffer, bytes.length);
      } finally {
        module._free(buffer);
      }
    },
  };
}

// Run as a program (not imported): the script node was given is this file, maybe by a link.
if (process.argv[1] && pathToFileURL(realpathSync(process.argv[1])).href === import.meta.url) {
  const cli = await loadCli();
  process.exitCode = cli.run(process.argv.slice(2));
}
