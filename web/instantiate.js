// SPDX-License-Identifier: MIT
// Put at the start of the game's JavaScript, inside its factory. The runtime would fetch its own
// WebAssembly from a data: URL and compile it in steps that each wait for the page, and the game
// would start some tasks after the page's script. Here it is compiled at once from the bytes this
// file carries, which takes a few milliseconds, and the game runs to its first wait within the
// call that creates it: the page shows its first screen as soon as the page is first drawn. A
// browser decodes the bytes natively, where the runtime's own decoding is a loop of JavaScript.
Module["instantiateWasm"] = (imports, receive) => {
    const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(wasmBinaryFile.slice(wasmBinaryFile.indexOf(",") + 1))
                                        : tryParseAsDataURI(wasmBinaryFile);
    receive(new WebAssembly.Instance(new WebAssembly.Module(bytes), imports));
    return {};
};
