// SPDX-License-Identifier: MIT
// Appended to the game's JavaScript. With ASYNCIFY, main "returns" to the runtime at its first wait
// for input, and the runtime's own call of exit then does nothing. When main really returns, later,
// nobody calls exit, and the exit handler that writes the last screen never runs: call it here. A
// game that ends by calling exit itself ends this promise with ExitStatus, the normal end.
Asyncify.whenDone()
    .then(status => exit(status))
    .catch(end => {
        if (!(end instanceof ExitStatus))
            throw end;
    });
