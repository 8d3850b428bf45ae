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

// A descriptor that someone else made non-blocking is waited for, as a blocking one would be.
createStickquest({
    arguments: process.argv.slice(2),
    hostWrite(bytes) {
        for (;;) {
            try {
                return fs.writeSync(1, bytes);
            } catch (error) {
                if (error.code != "EAGAIN")
                    return failure(error);
                sleep(1);
            }
        }
    },
    async hostRead(size) {
        const buffer = Buffer.alloc(size);
        for (;;) {
            try {
                return buffer.subarray(0, fs.readSync(0, buffer, 0, size, null));
            } catch (error) {
                if (error.code != "EAGAIN")
                    return failure(error);
                await new Promise(resolve => setTimeout(resolve, 1));
            }
        }
    },
    printErr: line => fs.writeSync(2, line + "\n"),
});
