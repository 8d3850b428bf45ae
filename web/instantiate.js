// SPDX-License-Identifier: MIT
// Put at the start of the game's JavaScript, inside its factory. The runtime would fetch its own
// WebAssembly from a data: URL, which waits for the page's script to end, and then again for the
// bytes, before compiling. Here it is compiled at once, from the bytes this file carries, in the
// background while the page goes on; the game starts as soon as it is ready. A browser decodes
// them natively, where the runtime's own decoding is a loop of JavaScript a byte at a time.
Module["instantiateWasm"] = (imports, receive) => {
    const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(wasmBinaryFile.slice(wasmBinaryFile.indexOf(",") + 1))
                                        : tryParseAsDataURI(wasmBinaryFile);
    WebAssembly.instantiate(bytes, imports).then(result => receive(result.instance), abort);
    return {};
};
