// SPDX-License-Identifier: MIT
// The page in headless Chromium, road by road, beside the native game in an 80x24 tmux pane given the
// same keys: after every step the page's rows and cursor must be the pane's. Every road is played
// from file:// and from a server on 127.0.0.1, with no request leaving the page's origin and no
// error on the page.
// usage: node browser_test.js SITE NATIVE_GAME TMUX CHROMIUM file|http|release|one (NODE_PATH finds
// puppeteer-core): every road from file://, or from the server; or, from the server, new releases
// and the page offline; or only the first road, from file:// (for a site unpacked from its zip). A
// road stops at its first wrong step.
"use strict";
const child_process = require("child_process");
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const [site, native, tmux_program, chromium, which] = process.argv.slice(2);

// Each step says what it does on the page; the pane gets its text, key, button or burst.
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const type = text => ({text, act: page => page.keyboard.type(text)});
const control = async (page, key) => { await page.keyboard.down("Control"), await page.keyboard.press(key), await page.keyboard.up("Control"); };
const press = key => ({key, act: page => key.startsWith("Ctrl-") ? control(page, key.slice(5).toLowerCase()) : page.keyboard.press(key)});
const click = button => ({button, act: page => page.click(`[data-key="${button}"]`)}), ENTER = press("Enter");
// Keys that reach the terminal in one input event, as a paste does; or line by line, 200 ms apart
// (longer than a flash, so that each flash is seen).
const burst = keys => ({burst: keys, act: page => page.evaluate(keys => terminal.input(keys), keys)});
const spaced = keys => ({burst: keys, async act(page) { for (const line of keys.match(/[^\r]*\r/g)) await burst(line).act(page), await sleep(200); }});
// Play again, from the keyboard: the button must have the focus once the game ends. A click on the
// Sound control, after which typed keys must still reach the game.
const PLAY_AGAIN = {again: true, async act(page, expect) {
    expect(await page.evaluate(() => document.activeElement.id == "again"), "Play again does not have the focus at the end");
    await page.keyboard.press("Enter");
}};
const SOUND = {sound: true, act: page => page.click("#sound")};
// Checks of the page alone: axe-core's audit (without preload, axe fetches no stylesheet, which a
// page opened from disk may not); the layout on phones held either way and in a narrow window, and
// the font after the window shrinks to nothing and comes back.
const AUDIT = {audit: true, async act(page, expect) {
    await page.addScriptTag({path: require.resolve("axe-core")});
    const violations = await page.evaluate(async () => (await axe.run({preload: false})).violations.map(violation => violation.id));
    expect(!violations.length, `axe-core finds ${violations.join(", ")}`);
}};
const LAYOUT = {layout: true, act: (page, expect, label) => check_layout(page, label)};
// Escape, then Tab, must leave the terminal having typed nothing; a click brings the focus back. A tap
// on a key types it and leaves the focus where it was, so that no on-screen keyboard opens.
const ESCAPE = {escape: true, async act(page, expect) {
    await page.keyboard.press("Escape"), await page.keyboard.press("Tab");
    expect(await page.evaluate(() => document.activeElement != terminal.textarea), "Escape, then Tab, does not leave the terminal");
    await page.click("#terminal");
}};
const tap = button => ({button, tap: true, async act(page, expect) {
    await page.tap(`[data-key="${button}"]`);
    expect(await page.evaluate(() => document.activeElement != terminal.textarea && terminal.textarea.inputMode == "none"),
           "a tap on a key gives the terminal the focus, or lets it open a keyboard");
}});
// A whole fight typed ahead on one line: "1" on the field and seven strikes; the line end then
// answers the victory screen's first wait, and Enter its second.
const FIGHT = [type("11111111"), ENTER];

// Each road: the page's query, the native game's arguments, the steps, and a check of the page at
// the end.
const roads = [
    // Then one with its answers typed fast, whose bells may flash three times a second at most; and
    // one whose last strike Ctrl-D hands over without a line end, which the pause after it then waits
    // for.
    {name: "a fight to victory, all eight answers on one line",
     steps: [AUDIT, ...FIGHT, ENTER, spaced("1\r".repeat(8) + "\r"), type("11111111"), press("Ctrl-D"), type("x"), ENTER],
     check: page => page.bells == 18 && page.flashes.length > 0 && page.most_flashes_in_a_second <= 3 || `the bell rang ${page.bells} times, flashed ${page.flashes.length}, ${page.most_flashes_in_a_second} in one second`},
    {name: "a castle visit two deep and back",
     steps: [press("Tab"), press("Backspace"), press("Tab"), ESCAPE, type("2"), ENTER, type("2"), ENTER, type("1"), ENTER, type("2"), ENTER, type("x"), ENTER]},
    // An end of input in the middle of a burst ends the game there, as in the terminal.
    {name: "Ctrl-D at the field", steps: [burst("x\r\x041\r"), press("Ctrl-D"), AUDIT], check: page => page.ended || "the game goes on"},
    // Two answers typed ahead draw two fields, of which only the last is spoken.
    {name: "Ctrl-D in a fight", steps: [burst("3\r3\r"), type("1"), ENTER, AUDIT, press("Ctrl-D")], check: page => page.ended || "the game goes on"},
    // At the castle, where any stray byte would end the game, a character outside the BMP erased.
    {name: "Backspace", steps: [press("Backspace"), press("Ctrl-A"), press("Backspace"), type("3"), press("Backspace"), type("2"), ENTER, type("\u{1f5e1}"), press("Backspace"), type("1"), ENTER]},
    // Ctrl-D hands over a line that is not empty without its line end.
    {name: "?controls", query: "?controls", args: ["x"], steps: [ENTER, type("3"), press("Ctrl-D"), type("q"), ENTER]},
    {name: "the touch buttons",
     steps: [LAYOUT, click("3"), click("Backspace"), click("2"), click("Enter"), click("1"), click("Enter"), tap("1"), tap("Enter"), SOUND, type("1"), ENTER],
     check: page => page.focused || "a game key typed on the Sound box leaves the terminal without the focus"},
    // The first game ends with the castle on the screen, which a new game must clear before its
    // control screen, two rows that would otherwise stand below it. A line typed as the game ends is
    // no answer to the next game. No flash for a player who asked for less motion.
    {name: "Play again, with experience back at 0", query: "?controls", args: ["x"], reduced: true,
     steps: [ENTER, ...FIGHT, ENTER, type("2"), ENTER, burst("x\r1\r"), PLAY_AGAIN, ENTER, ...FIGHT],
     check: page => (page.focused || "the terminal does not have the focus") && (page.flashes.length == 0 && page.bells > 0 || `with less motion, ${page.flashes.length} flashes`)},
    // Lines longer than a read, pasted, with an end of input behind them: a line discipline of the
    // page's own, so no terminal to compare with (a terminal keeps 4,095 characters of a line).
    // The castle, then the journey's field: a line split across reads keeps its rest, or there is a fight.
    {name: "long lines and an end of input, pasted", alone: true,
     steps: [burst(` ${" ".repeat(5000)}\r${" ".repeat(5000)}\r`), burst(`${" ".repeat(10000)}2\r`), burst("1\r\x04")],
     check: page => page.ended && page.bells == 0 && page.rows[22].startsWith("for go to right") || "the pasted lines did not visit the castle and turn back"},
];
// Played over http in a test of their own, where the host tells browsers to keep files for ten
// minutes: a new release published, which the second load after it must run whole, as the host
// says so and as it says not to; then the page again with the server gone, from what the service
// worker kept.
const LAST = [{name: "a new release", publish: "max-age=600", steps: [type("2"), ENTER]},
              {name: "a new release, on a host that keeps nothing", publish: "no-cache", steps: [type("1"), ENTER]},
              {name: "a reload with the server gone", offline: true, steps: [type("2"), ENTER]}];
let release = 0, cache_control = "max-age=600";
const played = which == "one" ? roads.slice(0, 1) : which == "release" ? LAST : roads;

let failures = 0, roads_failed = 0;
// Says what failed, and gives nothing for the step that failed.
const fail = what => { failures++; console.log("FAILED: " + what); return null; };

// The native game in a pane of its own. A shell waits in it once the game has ended, so that tmux
// reads the game's last bytes (the clear of "q" among them) before the pane goes, which it did not
// always when the game was the pane's only process.
function pane(dir) {
    let socket = 0; // a new server for each game, as a new terminal
    const run = (...args) =>
        child_process.execFileSync(tmux_program, ["-S", path.join(dir, `${socket}`), ...args], {stdio: "pipe"}).toString();
    fs.writeFileSync(path.join(dir, "conf"), "set -g remain-on-exit on\nset -g remain-on-exit-format ''\nset -g status off\n");
    return {
        // tmux now and then fails to set a session up on a loaded machine: a new server tries again.
        start(args) {
            for (let tries = 3;; tries--) {
                this.stop(), socket++;
                try {
                    return run("-f", path.join(dir, "conf"), "new-session", "-d", "-x", "80", "-y", "24", "--", "sh", "-c",
                               '"$0" "$@"; exec sleep 3600', native, ...args);
                } catch (error) {
                    if (tries == 1)
                        throw error;
                }
            }
        },
        send(step) {
            const keys = {Enter: "Enter", Backspace: "BSpace", "Ctrl-D": "C-d", "Ctrl-A": "C-a", Tab: "Tab", "\r": "Enter", "\x04": "C-d"};
            const sent = step.text ? ["-l", step.text] : Array.from(step.burst || [step.key || step.button || ""], key => keys[key] || key);
            sent.join("") && run("send-keys", ...sent);
        },
        screen: () => ({rows: run("capture-pane", "-p").split("\n").slice(0, 24),
                        cursor: run("display", "-p", "#{cursor_x} #{cursor_y}").trim().split(" ").map(Number)}),
        stop() { try { run("kill-server"); } catch (_) {} },
    };
}

// What the page shows, read from the terminal's rows in the page as a screen reader would.
async function page_screen(page) {
    await page.evaluate(() => new Promise(resolve => requestAnimationFrame(resolve))); // the rows drawn
    return page.evaluate(() => ({
        rows: Array.from(document.querySelectorAll(".xterm-rows > div"), row => row.textContent.replace(/\u00a0/g, " ").trimEnd()),
        cursor: [terminal.buffer.active.cursorX, terminal.buffer.active.cursorY],
        ...window.stickquest,
        most_flashes_in_a_second: Math.max(0, ...stickquest.flashes.map(start => stickquest.flashes.filter(time => time >= start && time < start + 1000).length)),
        focused: document.activeElement == document.querySelector(".xterm-helper-textarea"),
        spoken: Array.from(document.querySelectorAll("#spoken li"), row => row.textContent).join("\n"),
        live: document.getElementById("spoken")?.getAttribute("aria-live"),
        spoken_changes: window.spoken_changes,
    }));
}

// A screen reader hears the words of the screen where the game waits, politely, a row an item: the
// prompt among them, once (nothing of a screen typed ahead), no art and no lone letter of it; then,
// at the end, that the game has ended. The page speaks only when the game waits or ends.
function spoken_check(seen, games) {
    const prompt = seen.rows.filter(row => /[a-z]{2}/i.test(row)).pop() || "";
    const lines = seen.spoken.split("\n");
    if (seen.ended && lines.pop() != "The game has ended. Play again starts a new one.")
        return `the end is not told: ${JSON.stringify(seen.spoken)}`;
    const last = lines[lines.length - 1];
    if (seen.live != "polite" || seen.spoken_changes > seen.waits + games - !seen.ended)
        return `the live region is "${seen.live}", and changed ${seen.spoken_changes} times in ${seen.waits} waits`;
    if (!prompt || (seen.ended && !lines.length))
        return null; // a cleared screen, or an end that drew nothing new, has no more to hear
    return !last || !prompt.includes(last) ? `the live region ends "${last}", not the prompt "${prompt}"` :
           lines.filter(line => line == last).length > 1 ? `the live region reads screens typed ahead: ${JSON.stringify(seen.spoken)}` :
           /_{4}|-{4}|={4}|(^|\s)[a-z](\s|$)/im.test(lines.join("\n")) ? `the live region reads art: ${JSON.stringify(seen.spoken)}` : null;
}

// Waits until the page has taken the step (the game waits again for input, more often than
// `waits_before`, or has ended, with all it wrote on the screen), then until the pane shows the
// same, or a deadline passes: a generous one, since a loaded machine may be slow to draw either.
async function compare(page, game, waits_before, label, games) {
    const deadline = Date.now() + 30000;
    let seen, native_seen;
    for (; Date.now() < deadline; await new Promise(resolve => setTimeout(resolve, 50))) {
        seen = await page_screen(page);
        const settled = seen.unshown == 0 && (seen.ended || (seen.waiting && seen.waits > waits_before));
        native_seen = settled && game?.screen();
        if (settled && (!game || JSON.stringify([seen.rows, seen.cursor]) == JSON.stringify([native_seen.rows, native_seen.cursor]))) {
            const unheard = spoken_check(seen, games);
            return unheard ? fail(`${label}: ${unheard}`) : seen;
        }
    }
    fail(`${label}: the page differs from the terminal`);
    const rows = (rows, cursor) => rows.map((row, y) => `${String(y).padStart(2)}|${row}`).join("\n") + `\ncursor ${cursor}`;
    console.log("page:\n" + rows(seen.rows, seen.cursor) + "\nterminal:\n" + (native_seen ? rows(native_seen.rows, native_seen.cursor) : "(the page never settled)"));
    return null;
}

// The page at phones' sizes and in a narrow window: the whole terminal and the keys inside the
// window, no sideways scroll, keys of 44 px; then squeezed to nothing and back, the same font.
async function check_layout(page, label) {
    const font = await page.evaluate(() => terminal.options.fontSize);
    // A ring on the terminal in focus, no double-tap zoom on the keys, a word for a browser without
    // JavaScript, and the terminal's edge kept in forced colours.
    const looks = async () => page.evaluate(() => [getComputedStyle(document.getElementById("terminal")).outlineStyle,
        getComputedStyle(document.querySelector("[data-key]")).touchAction, document.querySelector("noscript")?.textContent.includes("JavaScript"),
        getComputedStyle(document.getElementById("terminal")).borderStyle]);
    const cdp = await page.createCDPSession();
    const forced = value => cdp.send("Emulation.setEmulatedMedia", {features: [{name: "forced-colors", value}]});
    await forced("active");
    const [ring, touch, noscript, edge] = await looks();
    await forced("none");
    ring != "none" && touch == "manipulation" && noscript && edge == "solid" || fail(`${label}: ring ${ring}, touch ${touch}, noscript ${noscript}, edge ${edge}`);
    const resize = async (width, height) => {
        await page.setViewport({width, height});
        await page.waitForFunction(() => new Promise(resolve => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    };
    for (const [width, height] of [[844, 390], [667, 375], [390, 844], [360, 740]]) {
        // Sideways, text of 10 px at least beside the keys; and the font set once.
        const fonts = await page.evaluate(() => stickquest.fonts);
        await resize(width, height);
        const [size, steps] = await page.evaluate(fonts => [terminal.options.fontSize, stickquest.fonts - fonts], fonts);
        (width > height && size < 10 || steps > 1) && fail(`${label}: at ${width}x${height}, text of ${size} px, fitted in ${steps} steps`);
        const outside = await page.evaluate(() => {
            const boxes = [document.querySelector(".xterm-screen"), ...document.querySelectorAll("#keys > :not([hidden])")];
            // The terminal within its box's padding, where nothing clips it.
            const padding = parseFloat(getComputedStyle(document.getElementById("terminal")).paddingRight);
            const box = document.getElementById("terminal").getBoundingClientRect();
            const frame = {right: box.right - padding + 0.5, bottom: box.bottom - padding + 0.5};
            const [terminal_screen, ...keys] = boxes.map(box => box.getBoundingClientRect());
            return keys.filter(box => box.right > innerWidth || box.bottom > innerHeight || box.width < 44 || box.height < 44)
                .concat(terminal_screen.right > frame.right || terminal_screen.bottom > Math.min(frame.bottom, innerHeight) ? [terminal_screen] : [])
                .map(box => `${box.width}x${box.height} at ${box.x},${box.y}`)
                .concat(document.documentElement.scrollWidth > innerWidth ? ["a sideways scroll"] : []);
        });
        outside.length && fail(`${label}: at ${width}x${height}, out of the window or too small: ${outside.join(", ")}`);
    }
    await resize(1, 1), await resize(800, 600);
    const back = await page.evaluate(() => terminal.options.fontSize);
    back == font || fail(`${label}: the font was ${font} px, and ${back} px once the window came back`);
}

async function play(browser, base, road, game) {
    const failures_before = failures;
    const label = `${base.split(":")[0]}: ${road.name}`;
    const expect = (holds, what) => holds || fail(`${label}: ${what}`);
    const page = await browser.newPage();
    if (road.reduced)
        await page.emulateMediaFeatures([{name: "prefers-reduced-motion", value: "reduce"}]);
    const errors = [], foreign = [];
    page.on("pageerror", error => errors.push(error.message));
    page.on("console", message => message.type() == "error" && errors.push(message.text()));
    page.on("request", request => [base, "data:"].some(start => request.url().startsWith(start)) || foreign.push(request.url()));
    await page.goto(base + "index.html" + (road.query || ""));
    // A new release, whose files the service worker keeps alone; or offline, after it kept the
    // site under the release's name.
    if (road.publish) {
        await page.evaluate(() => navigator.serviceWorker.ready);
        cache_control = road.publish, release++;
        await page.reload();
        await page.waitForFunction(name => caches.keys().then(names => names.join() == name), {timeout: 30000, polling: 100},
                                   `stickquest-${release}.0.0`).catch(() => fail(`${label}: the new release's files were not kept alone`));
        await page.reload();
        expect(await page.evaluate(() => window.release) == release, "the second load after a new release runs the old one");
    }
    if (road.offline) {
        await page.evaluate(() => Promise.race([navigator.serviceWorker.ready, new Promise(resolve => setTimeout(resolve, 30000))]));
        const caches = await page.evaluate(() => caches.keys());
        expect(caches.length && caches.every(name => /^stickquest-\d+\.\d+\.\d+$/.test(name)), `the kept files are not named by the release: ${caches}`);
        await road.offline();
        await page.reload();
    }
    await page.evaluate(() => {
        window.spoken_changes = 0;
        // Counted a record a change: changes close together come to one call.
        new MutationObserver(records => window.spoken_changes += records.length).observe(document.getElementById("spoken"), {childList: true});
    });
    game = road.alone ? null : game;
    game?.start(road.args || []);
    let games = 1;
    // A page whose game never started fails here, not after the comparison's wait.
    let seen = errors.length ? null : await compare(page, game, 0, label + ", the start", games);
    seen && !seen.focused && fail(`${label}: the terminal does not have the focus at the start`);
    for (const step of road.steps) {
        if (!seen || failures > failures_before)
            break;
        const waits = seen.waits, before = seen;
        await step.act(page, expect, label);
        if (step.again)
            games++, game.start(road.args || []);
        else
            game?.send(step);
        const hands_over = step.again || step.burst || step.key == "Enter" || step.key == "Ctrl-D" || step.button == "Enter";
        seen = failures > failures_before ? null : await compare(page, game, hands_over ? waits : -1, `${label}, after ${JSON.stringify(step).slice(0, 60)}`, games);
        seen?.writes > before.writes && seen.spoken_changes == before.spoken_changes && fail(`${label}: a new screen is not spoken`);
    }
    await page.waitForFunction(() => !document.getElementById("terminal").matches(".flash, .rang"), {timeout: 10000})
        .catch(() => fail(`${label}: the flash, or the steady border, never ends`));
    const verdict = !seen || failures > failures_before || !road.check ? true : road.check(seen);
    expect(verdict === true, verdict);
    expect(!errors.length, `errors on the page: ${errors.join("; ")}`);
    expect(!foreign.length, `requests outside the page's origin: ${foreign.join(", ")}`);
    await page.close();
    roads_failed += failures > failures_before;
    console.log(`${label}: ${failures > failures_before ? "failed" : "played as in the terminal"}`);
}

// A static server for the site on 127.0.0.1, as any static host would serve it.
function serve() {
    const types = {".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".svg": "image/svg+xml",
                   ".png": "image/png", ".webmanifest": "application/manifest+json"};
    const server = http.createServer((request, response) => {
        const file = path.join(site, path.normalize(decodeURIComponent(request.url.split("?")[0]).replace(/\/$/, "/index.html")));
        // A new release: the worker names its cache anew, and the page's script tells its number.
        const published = data => !release ? data : file.endsWith("sw.js") ? String(data).replace(/stickquest-[\d.]+/, `stickquest-${release}.0.0`) :
                                   file.endsWith("page.js") ? data + `\nwindow.release = ${release};\n` : data;
        fs.readFile(file, (error, data) => response.writeHead(error ? 404 : 200, {"Content-Type": types[path.extname(file)] || "application/octet-stream",
                                                                                   "Cache-Control": cache_control})
            .end(error ? "" : published(data)));
    });
    return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve(server)));
}

async function main() {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), "stickquest-browser-"));
    const game = pane(dir);
    const server = await serve();
    const browser = await puppeteer.launch({executablePath: chromium, args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update"]});
    try {
        const base = ["http", "release"].includes(which) ? `http://127.0.0.1:${server.address().port}/` : "file://" + path.resolve(site) + "/";
        LAST[2].offline = () => new Promise(resolve => server.close(resolve) && server.closeAllConnections());
        for (const road of played)
            await play(browser, base, road, game);
    } finally {
        await browser.close(), server.close(), game.stop();
        fs.rmSync(dir, {recursive: true, force: true});
    }
    console.log(`${played.length - roads_failed} passed, ${roads_failed} failed`);
    process.exitCode = failures ? 1 : 0;
}

main().catch(error => { console.log(error); process.exitCode = 1; });
