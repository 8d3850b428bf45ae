// SPDX-License-Identifier: MIT
// A static server for the site on 127.0.0.1, gzipping what it sends as any real host would, for
// Lighthouse to measure. "/" is index.html.
// usage: node bench/serve.js SITE (prints the port it listens on)
"use strict";
const fs = require("fs");
const http = require("http");
const path = require("path");
const zlib = require("zlib");

const site = path.resolve(process.argv[2]);
const types = {".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".svg": "image/svg+xml",
               ".png": "image/png", ".webmanifest": "application/manifest+json"};

const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split("?")[0]).replace(/\/$/, "/index.html");
    fs.readFile(path.join(site, path.normalize(name)), (error, data) => {
        if (error) {
            response.writeHead(404);
            return response.end();
        }
        const compress = /\bgzip\b/.test(request.headers["accept-encoding"] || "") && !name.endsWith(".png");
        response.writeHead(200, {"Content-Type": types[path.extname(name)] || "application/octet-stream",
                                 "Cache-Control": "no-cache", ...(compress ? {"Content-Encoding": "gzip"} : {})});
        response.end(compress ? zlib.gzipSync(data) : data);
    });
});
server.listen(0, "127.0.0.1", () => console.log(server.address().port));
