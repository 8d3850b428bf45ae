// SPDX-License-Identifier: MIT
// The page in headless Chromium, road by road, beside the native game in an 80x24 tmux pane given the
// same keys: after every step the page's rows and cursor must be the pane's. Every road is played
// from file:// and from a server on 127.0.0.1, with no request leaving the page's origin and no
// error on the page.
// usage: node browser_test.js SITE NATIVE_GAME TMUX CHROMIUM [one] (NODE_PATH finds puppeteer-core);
// with "one", only the first road, from file:// (for a site unpacked from its zip).
"use strict";
const child_process = require("child_process");
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const [site, native, tmux_program, chromium, only_one] = process.argv.slice(2);

const type = text => ({text});
const press = key => ({key});
const click = button => ({button});
const PLAY_AGAIN = {again: true};
const ENTER = press("Enter");
// A whole fight typed ahead on one line: "1" on the field and seven strikes; the line end then
// answers the victory screen's first wait, and Enter its second.
const FIGHT = [type("11111111"), ENTER];

// Each road: the page's query, the native game's arguments, the steps, and a check of the page at
// the end.
const roads = [
    {name: "a fight to victory, all eight answers on one line", steps: [...FIGHT, ENTER],
     check: page => page.bells == 6 && page.flashes > 0 || `the bell rang ${page.bells} times, flashed ${page.flashes}`},
    {name: "a castle visit two deep and back",
     steps: [type("2"), ENTER, type("2"), ENTER, type("1"), ENTER, type("2"), ENTER, type("x"), ENTER]},
    {name: "Ctrl-D at the field", steps: [press("Ctrl-D")], check: page => page.ended || "the game goes on"},
    {name: "Ctrl-D in a fight", steps: [type("1"), ENTER, press("Ctrl-D")], check: page => page.ended || "the game goes on"},
    {name: "Backspace", steps: [type("3"), press("Backspace"), type("2"), ENTER]},
    {name: "?controls", query: "?controls", args: ["x"], steps: [ENTER, type("q"), ENTER]},
    {name: "the touch buttons",
     steps: [click("2"), click("Enter"), click("1"), click("Enter"), click("1"), click("Enter")]},
    // The first game ends with the castle on the screen, which a new game must clear before its
    // control screen, two rows that would otherwise stand below it.
    {name: "Play again, with experience back at 0", query: "?controls", args: ["x"],
     steps: [ENTER, ...FIGHT, ENTER, type("2"), ENTER, type("x"), ENTER, PLAY_AGAIN, ENTER, ...FIGHT],
     check: page => page.focused || "the terminal does not have the focus"},
];

let failures = 0;
function fail(what) {
    failures++;
    console.log("FAILED: " + what);
}
let roads_failed = 0;

// The native game in a pane of its own; the pane stays, unscrolled, once the game has ended.
function pane(dir) {
    let socket = 0; // a new server for each game, as a new terminal
    const run = (...args) =>
        child_process.execFileSync(tmux_program, ["-S", path.join(dir, `${socket}`), ...args], {stdio: "pipe"}).toString();
    fs.writeFileSync(path.join(dir, "conf"), "set -g remain-on-exit on\nset -g remain-on-exit-format ''\nset -g status off\n");
    return {
        // tmux now and then fails to set a session up on a loaded machine: a new server tries again.
        start(args) {
            for (let tries = 3;; tries--) {
                this.stop();
                socket++;
                try {
                    return run("-f", path.join(dir, "conf"), "new-session", "-d", "-x", "80", "-y", "24", "--", native, ...args);
                } catch (error) {
                    if (tries == 1)
                        throw error;
                }
            }
        },
        send(step) {
            const keys = {Enter: "Enter", Backspace: "BSpace", "Ctrl-D": "C-d"};
            if (step.text)
                run("send-keys", "-l", step.text);
            else
                run("send-keys", keys[step.key] || keys[step.button] || step.button);
        },
        screen() {
            const rows = run("capture-pane", "-p").split("\n").slice(0, 24);
            const [x, y] = run("display", "-p", "#{cursor_x} #{cursor_y}").trim().split(" ").map(Number);
            return {rows, cursor: [x, y]};
        },
        stop() { try { run("kill-server"); } catch (_) {} },
    };
}

// What the page shows, read from the terminal's rows in the page as a screen reader would.
async function page_screen(page) {
    return page.evaluate(() => ({
        rows: Array.from(document.querySelectorAll(".xterm-rows > div"), row => row.textContent.replace(/\u00a0/g, " ").trimEnd()),
        cursor: [terminal.buffer.active.cursorX, terminal.buffer.active.cursorY],
        ...window.stickquest,
        flashes: window.flashes,
        focused: document.activeElement == document.querySelector(".xterm-helper-textarea"),
    }));
}

// Waits until the page has taken the step (the game waits again for input, more often than
// `waits_before`, or has ended, with all it wrote on the screen), then until the pane shows the
// same, or a deadline passes: a generous one, since a loaded machine may be slow to draw either.
async function compare(page, game, waits_before, label) {
    const deadline = Date.now() + 30000;
    let seen, native_seen;
    for (;;) {
        seen = await page_screen(page);
        const settled = seen.unshown == 0 && (seen.ended || (seen.waiting && seen.waits > waits_before));
        if (settled) {
            native_seen = game.screen();
            if (JSON.stringify([seen.rows, seen.cursor]) == JSON.stringify([native_seen.rows, native_seen.cursor]))
                return seen;
        }
        if (Date.now() > deadline)
            break;
        await new Promise(resolve => setTimeout(resolve, 50));
    }
    fail(`${label}: the page differs from the terminal`);
    const rows = (rows, cursor) => rows.map((row, y) => `${String(y).padStart(2)}|${row}`).join("\n") + `\ncursor ${cursor}`;
    console.log("page:\n" + rows(seen.rows, seen.cursor) + "\nterminal:\n" + (native_seen ? rows(native_seen.rows, native_seen.cursor) : "(the page never settled)"));
    return seen;
}

async function play(browser, base, road, game) {
    const failures_before = failures;
    const label = `${base.split(":")[0]}: ${road.name}`;
    const page = await browser.newPage();
    const errors = [], foreign = [];
    page.on("pageerror", error => errors.push(error.message));
    page.on("console", message => message.type() == "error" && errors.push(message.text()));
    page.on("request", request => {
        if (!request.url().startsWith(base) && !request.url().startsWith("data:"))
            foreign.push(request.url());
    });
    await page.goto(base + "index.html" + (road.query || ""));
    await page.evaluate(() => {
        window.flashes = 0;
        const screen = document.getElementById("terminal");
        new MutationObserver(() => window.flashes += screen.classList.contains("flash")).observe(screen, {attributes: true});
    });
    game.start(road.args || []);
    let seen = await compare(page, game, 0, label + ", the start");
    for (const step of road.steps) {
        const waits = seen.waits;
        if (step.again) {
            await page.click("#again");
            game.start(road.args || []);
        } else if (step.button) {
            await page.click(`[data-key="${step.button}"]`);
        } else if (step.text) {
            await page.keyboard.type(step.text);
        } else if (step.key == "Ctrl-D") {
            await page.keyboard.down("Control");
            await page.keyboard.press("d");
            await page.keyboard.up("Control");
        } else {
            await page.keyboard.press(step.key);
        }
        if (!step.again)
            game.send(step);
        const hands_over = step.again || step.key == "Enter" || step.key == "Ctrl-D" || step.button == "Enter";
        seen = await compare(page, game, hands_over ? waits : -1, `${label}, after ${JSON.stringify(step)}`);
    }
    const verdict = road.check ? road.check(seen) : true;
    if (verdict !== true)
        fail(`${label}: ${verdict}`);
    if (errors.length)
        fail(`${label}: errors on the page: ${errors.join("; ")}`);
    if (foreign.length)
        fail(`${label}: requests outside the page's origin: ${foreign.join(", ")}`);
    await page.close();
    roads_failed += failures > failures_before;
    console.log(`${label}: ${failures > failures_before ? "failed" : "played as in the terminal"}`);
}

// A static server for the site on 127.0.0.1, as any static host would serve it.
function serve() {
    const types = {".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".svg": "image/svg+xml"};
    const server = http.createServer((request, response) => {
        const file = path.join(site, path.normalize(decodeURIComponent(request.url.split("?")[0])));
        fs.readFile(file, (error, data) => {
            response.writeHead(error ? 404 : 200, {"Content-Type": types[path.extname(file)] || "application/octet-stream"});
            response.end(error ? "" : data);
        });
    });
    return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve(server)));
}

async function main() {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), "stickquest-browser-"));
    const game = pane(dir);
    const server = await serve();
    const browser = await puppeteer.launch({
        executablePath: chromium,
        args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update"],
    });
    try {
        const bases = ["file://" + path.resolve(site) + "/", `http://127.0.0.1:${server.address().port}/`];
        for (const base of only_one ? bases.slice(0, 1) : bases)
            for (const road of only_one ? roads.slice(0, 1) : roads)
                await play(browser, base, road, game);
    } finally {
        await browser.close();
        server.close();
        game.stop();
        fs.rmSync(dir, {recursive: true, force: true});
    }
    console.log(`${(only_one ? 1 : 2 * roads.length) - roads_failed} passed, ${roads_failed} failed`);
    process.exitCode = failures ? 1 : 0;
}

main().catch(error => {
    console.log(error);
    process.exitCode = 1;
});
