// SPDX-License-Identifier: MIT
// Put at the start of the game's JavaScript, inside its factory. The runtime would fetch its own
// WebAssembly from a data: URL, which waits for the page's script to end, and then again for the
// bytes, before compiling. Here it is compiled at once, from the bytes this file carries, in the
// background while the page goes on opening its terminal; the game starts as soon as it is ready.
Module["instantiateWasm"] = (imports, receive) => {
    WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports)
        .then(result => receive(result.instance), abort);
    return {};
};
