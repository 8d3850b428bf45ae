#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// The web build's game under node, on standard input and output and with its arguments, as the
// native game plays: the host that the pipe and terminal tests run it in.
"use strict";
const fs = require("fs");
const createStickquest = require("./site/stickquest.js");

// WASI's numbers, which emscripten's C library takes for errno.
const ERRNO = {EAGAIN: 6, EBADF: 8, EIO: 29, EISDIR: 31, ENOSPC: 51, EPIPE: 64};
const failure = error => -(ERRNO[error.code] || ERRNO.EIO);
const sleep = milliseconds => Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, milliseconds);
// Node cannot wait until a descriptor is ready, so a descriptor that someone else made non-blocking
// is tried again after pauses that grow from 1 ms to 100 ms: ten wakeups a second while the other
// end is late, not one a millisecond.
function* pauses() {
    for (let milliseconds = 1;; milliseconds = Math.min(2 * milliseconds, 100))
        yield milliseconds;
}

createStickquest({
    arguments: process.argv.slice(2),
    hostWrite(bytes) {
        for (const pause of pauses()) {
            try {
                return fs.writeSync(1, bytes);
            } catch (error) {
                if (error.code != "EAGAIN")
                    return failure(error);
                sleep(pause);
            }
        }
    },
    async hostRead(size) {
        const buffer = Buffer.alloc(size);
        for (const pause of pauses()) {
            try {
                return buffer.subarray(0, fs.readSync(0, buffer, 0, size, null));
            } catch (error) {
                if (error.code != "EAGAIN")
                    return failure(error);
                await new Promise(resolve => setTimeout(resolve, pause));
            }
        }
    },
    printErr: line => fs.writeSync(2, line + "\n"),
});
