// SPDX-License-Identifier: MIT
// The web page's figures, side by side in one run: the game's own files in the site and their gzip
// sizes; time to the first screen in headless Chromium against a page holding xterm.js alone; and
// writes to the terminal per prompt over scripted fights, typed turn by turn and typed ahead; and
// Lighthouse's scores and layout shift, as a phone and as a desktop.
// usage: node bench/web.js BUILD (out/web, after cmake --build --preset web); NODE_PATH=BUILD/node_modules
// and the folder where bench/package-lock.json's Lighthouse is installed
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const zlib = require("zlib");
const puppeteer = require("puppeteer-core");

const build = path.resolve(process.argv[2] || "out/web");
const site = path.join(build, "site");
const median = values => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

function sizes() {
    console.log("== 1. the game's own files in the site (everything but xterm.js and its css)");
    let raw = 0, packed = 0;
    for (const name of fs.readdirSync(site).filter(name => !name.startsWith("xterm")).sort()) {
        const bytes = fs.readFileSync(path.join(site, name));
        const gzipped = zlib.gzipSync(bytes, {level: 9}).length;
        raw += bytes.length;
        packed += gzipped;
        console.log(`${name.padEnd(16)} ${String(bytes.length).padStart(7)} bytes, ${String(gzipped).padStart(6)} gzipped`);
    }
    console.log(`${"all".padEnd(16)} ${String(raw).padStart(7)} bytes, ${String(packed).padStart(6)} gzipped`);
}

// The yardstick: xterm.js alone, writing the field the game would write, in the same folder.
function yardstick() {
    const field = require("child_process").execFileSync(path.join(build, "stickquest"), {input: ""});
    fs.writeFileSync(path.join(site, "bench-xterm-alone.html"), `<!DOCTYPE html><html><head><meta charset="utf-8">
<link rel="stylesheet" href="xterm.css"></head><body><div id="terminal"></div><script src="xterm.js"></script>
<script>const t = new Terminal({cols: 80, rows: 24, convertEol: true, scrollback: 0, fontSize: 16});
t.open(document.getElementById("terminal")); t.write(${JSON.stringify(field.toString())}); t.focus();</script></body></html>`);
    return "bench-xterm-alone.html";
}

// Milliseconds from the start of navigation until the prompt row shows, as the page paints it; on a
// processor `slower` times as slow as this one's, as Lighthouse takes a phone's to be (4).
async function first_screen(browser, file, slower) {
    const page = await browser.newPage();
    await page.setCacheEnabled(false);
    await page.emulateCPUThrottling(slower);
    await page.evaluateOnNewDocument(() => {
        new MutationObserver((_, observer) => {
            const rows = document.querySelectorAll(".xterm-rows > div");
            if (rows.length > 22 && rows[22].textContent.startsWith("for go to right")) {
                window.firstScreen = performance.now();
                observer.disconnect();
            }
        }).observe(document, {childList: true, subtree: true, characterData: true});
    });
    await page.goto("file://" + path.join(site, file));
    await page.waitForFunction(() => window.firstScreen !== undefined);
    const time = await page.evaluate(() => window.firstScreen);
    await page.close();
    return time;
}

async function start_up(browser) {
    console.log("\n== 2. time to the first screen, headless Chromium, cache off (medians of 22, alternating), " +
                `${os.cpus().length} cores`);
    const alone = yardstick();
    try {
        for (const slower of [1, 4]) {
            const game = [], xterm = [];
            // Each page goes first in every other round: a page opened just after another closes
            // starts some milliseconds later.
            for (let round = 0; round < 22; ++round) {
                const pages = [["index.html", game], [alone, xterm]];
                for (const [file, times] of round % 2 ? pages.reverse() : pages)
                    times.push(await first_screen(browser, file, slower));
            }
            const [g, x] = [median(game), median(xterm)];
            console.log(`${slower == 1 ? "this processor" : `${slower} times as slow`}: the page ${g.toFixed(1)} ms, ` +
                        `xterm.js alone ${x.toFixed(1)} ms: ${(g / x).toFixed(2)} times as long`);
        }
    } finally {
        fs.rmSync(path.join(site, alone));
    }
}

// Plays `fights` fights, each answer typed once the game waits for it, or all pasted at once.
async function writes_per_prompt(browser, fights, ahead) {
    const page = await browser.newPage();
    await page.goto("file://" + path.join(site, "index.html"));
    const waiting = () => page.waitForFunction(() => window.stickquest.waiting && !window.stickquest.unshown);
    await waiting();
    const answers = [...Array(fights)].flatMap(() => ["1", "1", "1", "1", "1", "1", "1", "1", ""]);
    if (ahead) {
        await page.evaluate(text => terminal.paste(text), answers.join("\r") + "\r");
    } else {
        for (const answer of answers) {
            await page.keyboard.type(answer + "\r");
            await waiting();
        }
    }
    await page.waitForFunction(n => window.stickquest.waits >= n, {}, ahead ? 2 : answers.length + 1);
    await waiting();
    const writes = await page.evaluate(() => window.stickquest.writes);
    await page.close();
    const prompts = 1 + answers.length;
    console.log(`${ahead ? "pasted at once" : "turn by turn"}: ${writes} writes for ${prompts} prompts, ${(writes / prompts).toFixed(3)} per prompt`);
}

// Lighthouse 12 on the site served with gzip, as a phone (its default) and as a desktop.
function lighthouse() {
    console.log(`\n== 4. Lighthouse 12 on the site served with gzip by bench/serve.js, ${os.cpus().length} cores`);
    const child_process = require("child_process");
    const server = child_process.spawn("node", [path.join(__dirname, "serve.js"), site]);
    const port = new Promise(resolve => server.stdout.once("data", data => resolve(String(data).trim())));
    return port.then(port => {
        try {
            for (const device of ["mobile", "desktop"]) {
                const report = JSON.parse(child_process.execFileSync("node", [
                    require.resolve("lighthouse/cli/index.js"), `http://127.0.0.1:${port}/`, "--output=json", "--quiet",
                    "--chrome-flags=--headless --no-sandbox --disable-background-networking --disable-component-update",
                    ...(device == "desktop" ? ["--preset=desktop"] : [])], {env: {...process.env, CHROME_PATH: "/usr/bin/chromium"}, maxBuffer: 1 << 28}));
                const scores = Object.values(report.categories).map(category => `${category.title} ${Math.round(category.score * 100)}`);
                const shift = report.audits["cumulative-layout-shift"].numericValue;
                console.log(`${device.padEnd(8)} ${scores.join(", ")}; layout shift ${shift.toFixed(3)}`);
            }
        } finally {
            server.kill();
        }
    });
}

// Every file of the site, as a host that gzips would send it.
function site_gzipped() {
    let packed = 0;
    for (const name of fs.readdirSync(site))
        packed += zlib.gzipSync(fs.readFileSync(path.join(site, name)), {level: 9}).length;
    console.log(`${"the whole site".padEnd(16)} ${String(packed).padStart(23)} gzipped`);
}

async function main() {
    sizes();
    site_gzipped();
    const browser = await puppeteer.launch({
        executablePath: "/usr/bin/chromium",
        args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update", "--allow-file-access-from-files"],
    });
    try {
        await start_up(browser);
        console.log("\n== 3. writes to the terminal per prompt, 20 fights");
        await writes_per_prompt(browser, 20, false);
        await writes_per_prompt(browser, 20, true);
    } finally {
        await browser.close();
    }
    await lighthouse();
}

main().catch(error => {
    console.log(error);
    process.exitCode = 1;
});
