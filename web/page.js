// SPDX-License-Identifier: MIT
// The page: an 80x24 terminal, and between it and the game what a terminal in canonical mode does
// for the native game. Keys are echoed and gathered into a line that Enter hands over; the game's
// reads wait for whole lines, and nothing typed is ever lost, however busy the game is.
"use strict";

const screen = document.getElementById("terminal");
const again = document.getElementById("again");
const sound = document.getElementById("sound");
// Rows a little taller than the font, so that small fonts keep their underscores. It opens with the
// game's first screen, at a font fitted to its box.
const terminal = new Terminal({cols: 80, rows: 24, convertEol: true, scrollback: 0, lineHeight: 1.1});

// What the page tells whoever watches it (the browser test, a curious player): whether the game
// waits for input with all it wrote on the screen, whether it has ended, some counts (the fonts
// among them: each lays the terminal out anew), and when the flashes began.
const game = {waiting: false, waits: 0, ended: true, status: null, unshown: 0, writes: 0, bells: 0, flashes: [], fonts: 0};
window.stickquest = game;

const encoder = new TextEncoder();
let line = "";     // typed and echoed, not yet handed over
let lines = [];    // handed over and not yet read: bytes, or null for an end of input
let reader = null; // the game's read, while it waits

// A read takes what has been handed over, as much as it asks for, up to an end of input, which is
// a read of its own, of nothing; answers typed ahead then cost the game no wait each.
function deliver() {
    if (!reader || lines.length == 0)
        return;
    const {size, resolve} = reader;
    reader = null;
    game.waiting = false;
    if (lines[0] === null) {
        lines.shift();
        return resolve(new Uint8Array(0));
    }
    const bytes = new Uint8Array(size);
    let length = 0;
    while (lines.length && lines[0] !== null && length < size) {
        const taken = lines[0].subarray(0, size - length);
        bytes.set(taken, length);
        length += taken.length;
        if (taken.length == lines[0].length)
            lines.shift();
        else
            lines[0] = lines[0].subarray(taken.length);
    }
    resolve(bytes.subarray(0, length));
}

function hand_over(bytes) {
    lines.push(bytes);
    deliver();
}

// Control characters show as ^X, except the tab, which moves the cursor.
function echoed(character) {
    const code = character.codePointAt(0);
    return code < 0x20 && character != "\t" ? "^" + String.fromCharCode(code + 0x40) : character;
}

// Where each tab of the line began, once the terminal has drawn up to it: the terminal erases a tab
// back to there, not by one column.
let tab_starts = [];

function press(character) {
    if (game.ended)
        return;
    if (character == "\r") {
        show("\r\n");
        hand_over(encoder.encode(line + "\n"));
        line = "", tab_starts = [];
    } else if (character == "\x7f" || character == "\b") {
        const last = Array.from(line).pop();
        if (last === undefined)
            return;
        line = line.slice(0, -last.length);
        const width = Array.from(echoed(last)).length; // a column for each character, as the terminal erases
        const start = last == "\t" ? tab_starts.pop() : undefined;
        show(start === undefined ? "\b".repeat(width) + " ".repeat(width) + "\b".repeat(width)
                                 : "\b".repeat(Math.min(79, Math.floor(start / 8) * 8 + 8) - start));
    } else if (character == "\x04") {
        // Ctrl-D hands over the line as it stands; on an empty line that is the end of input.
        hand_over(line ? encoder.encode(line) : null);
        line = "", tab_starts = [];
    } else {
        if (character == "\t")
            terminal.write("", () => tab_starts.push(terminal.buffer.active.cursorX));
        show(echoed(character));
        line += character;
    }
}

terminal.onData(data => Array.from(data).forEach(press));

// Tab types a tab, as in any terminal; Escape, then Tab (or Shift+Tab), leaves the terminal for the
// rest of the page. Escape itself types nothing.
let leaving = false;
terminal.attachCustomKeyEventHandler(event => {
    if (event.key == "Tab" && leaving)
        return leaving = event.type != "keydown", false;
    if (event.type == "keydown" && !["Shift", "Control", "Alt", "Meta"].includes(event.key))
        leaving = event.key == "Escape";
    return event.key != "Escape";
});

// A game key typed on the page outside the terminal (after a click on the Sound box, say) goes to
// the game, and the terminal takes the focus; a button or a link keeps Enter and Space, which press
// it, and a text field keeps its keys. Once the game has ended, keys leave the focus on Play again.
document.addEventListener("keydown", event => {
    const target = event.target;
    if (game.ended || screen.contains(target) || event.defaultPrevented || event.ctrlKey || event.altKey || event.metaKey ||
        target.matches("input:not([type=checkbox]), textarea, select, [contenteditable]"))
        return;
    const activates = target.matches("button, a, summary") ? ["Enter", " "] : target.matches("input") ? [" "] : [];
    const character = event.key == "Enter" ? "\r" : event.key == "Backspace" ? "\x7f" :
                      Array.from(event.key).length == 1 ? event.key : null;
    if (character === null || activates.includes(event.key))
        return;
    event.preventDefault();
    press(character);
    terminal.focus();
});
screen.addEventListener("click", () => terminal.focus());

// What a screen reader hears: the words of each new screen, once the game waits for the player or
// ends, from the last clear on, a list item a row, so that it pauses between rows and the player can
// go through them again. New items each time, so that a screen is spoken even when its words are
// those of the last. The pictures stay out: runs of drawing characters are dropped, with a lone
// letter that touches one (the sun's disc), and a row left without a word says nothing. What the
// player types is not repeated: the terminal's echo is not the game's. At the end, the page says so.
const spoken = document.getElementById("spoken");
const decoder = new TextDecoder();
let unspoken = "";
function words(row) {
    return row.replace(/(?<=[-_=|\\()#<>])[a-z]\b|\b[a-z](?=[-_=|\\()#<>])/gi, "")
        .split(/(?:-{2,}|[_=|\\()#<>])+/)
        .map(piece => piece.replace(/\s+/g, " ").trim())
        .filter(piece => /[a-z]{2}/i.test(piece))
        .join(" ");
}
const ENDED = "The game has ended. Play again starts a new one.";
function speak(ended) {
    const cleared = unspoken.lastIndexOf("\x1b[2J");
    const screenful = unspoken.slice(cleared < 0 ? 0 : cleared).replace(/\x1b\[[0-9;]*[A-Za-z]|[\x00-\x09\x0b-\x1f]/g, "");
    unspoken = "";
    const rows = screenful.split("\n").map(words).filter(row => row).concat(ended ? [ENDED] : []);
    const list = document.createElement("ul");
    list.append(...rows.map(row => Object.assign(document.createElement("li"), {textContent: row})));
    if (rows.length)
        spoken.replaceChildren(list);
}

// The terminal opens with the first thing there is to show, the game's first screen, so that it is
// first drawn with it; at the font fitted to its box, so that its rows never move.
function show(data) {
    if (!terminal.element) {
        terminal.open(screen);
        check_fit();
        keyboard_off();
    }
    game.unshown++;
    terminal.write(data, () => game.unshown--);
}

function write(bytes) {
    game.writes++;
    show(bytes.slice());
    unspoken += decoder.decode(bytes, {stream: true});
    return bytes.length;
}

function read(size) {
    return new Promise(resolve => {
        reader = {size, resolve};
        game.waiting = lines.length == 0;
        game.waits += game.waiting;
        if (game.waiting)
            speak();
        deliver();
    });
}

// The bell: a short flash, and a short beep where sound is on and the browser allows it (after the
// player's first key or click). Flashes come at most three in any second, for players whom flashing
// harms; a bell sooner only beeps. A player who asked for less motion sees a steady border instead.
let audio = null;
let flashed = []; // when the flashes of the last second began
const less_motion = matchMedia("(prefers-reduced-motion: reduce)");
let border_gone = null;
function show_bell() {
    if (less_motion.matches) {
        screen.classList.add("rang");
        clearTimeout(border_gone);
        border_gone = setTimeout(() => screen.classList.remove("rang"), 1000);
        return;
    }
    const now = performance.now();
    flashed = flashed.filter(time => now - time < 1000);
    if (flashed.length >= 3)
        return;
    flashed.push(now);
    game.flashes.push(now);
    screen.classList.add("flash");
    setTimeout(() => screen.classList.remove("flash"), 150);
}
function ring() {
    game.bells++;
    show_bell();
    if (!sound.checked || !audio || audio.state != "running")
        return;
    const tone = audio.createOscillator();
    tone.frequency.value = 880;
    tone.connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.08);
}
terminal.onBell(ring);
const allow_sound = () => {
    audio = audio || new AudioContext();
    audio.resume();
};
document.addEventListener("keydown", allow_sound);
document.addEventListener("pointerdown", allow_sound);

// The whole terminal fits its box, which the page lays out to fit the window, width and height: the
// font is scaled to the room, never below a floor that keeps it drawable, and grows back when the
// room comes back. Each font the terminal takes lays it out anew, which is most of what the page
// would cost a phone; so the font is worked out first, from the font's own metrics, which a canvas
// measures without laying anything out, as xterm.js's DOM renderer sizes its screen: cells a whole
// number of device pixels high, the screen rounded to CSS pixels. The terminal then takes that font
// alone, and its screen, as the renderer sized it, is checked against the box. The font depends on
// the room alone, whatever it was before. A box of the size the font was last fitted to keeps it.
const LARGEST_FONT = 24, SMALLEST_FONT = 3;
let fitted_to = []; // the box, inside its padding
function room() {
    const style = getComputedStyle(screen);
    return [screen.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight),
            screen.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom)];
}
const inside = size => size.every((length, axis) => length <= fitted_to[axis]);
const metrics = document.createElement("canvas").getContext("2d");
function screen_at(tenths) {
    const {fontFamily, lineHeight} = terminal.options, ratio = devicePixelRatio;
    metrics.font = `${tenths / 10}px ${fontFamily}`;
    const glyph = metrics.measureText("W");
    const row = Math.floor(Math.ceil((glyph.fontBoundingBoxAscent + glyph.fontBoundingBoxDescent) * ratio) * lineHeight);
    return [Math.round(glyph.width * ratio * 80 / ratio), Math.round(row * 24 / ratio)];
}
const bounded = tenths => Math.max(SMALLEST_FONT * 10, Math.min(LARGEST_FONT * 10, tenths));
function set_font(tenths) {
    const size = bounded(tenths) / 10;
    game.fonts += size != terminal.options.fontSize;
    terminal.options.fontSize = size;
}
function fit() {
    const box = room();
    if (String(box) == String(fitted_to))
        return;
    fitted_to = box;
    // Nearly in proportion to the font: from the largest font's screen, then by tenths.
    const largest = screen_at(LARGEST_FONT * 10);
    let tenths = bounded(Math.floor(LARGEST_FONT * 10 * Math.min(box[0] / largest[0], box[1] / largest[1])) || 0);
    while (tenths > SMALLEST_FONT * 10 && !inside(screen_at(tenths)))
        tenths--;
    while (tenths < LARGEST_FONT * 10 && inside(screen_at(tenths + 1)))
        tenths++;
    set_font(tenths);
    check_fit();
}
// The screen as the renderer sized it, once the terminal is open, read from its style, which lays
// nothing out.
function check_fit() {
    const drawn = screen.querySelector(".xterm-screen");
    while (drawn && !inside([parseFloat(drawn.style.width), parseFloat(drawn.style.height)]) &&
           terminal.options.fontSize > SMALLEST_FONT)
        set_font(Math.round(terminal.options.fontSize * 10) - 1);
}

// A new game, as a new start in a new terminal would give: a cleared screen, experience at 0.
function start() {
    if (game.status !== null) // a terminal that has played a game; the first has a fresh one
        terminal.reset();
    line = "";
    lines = [];
    reader = null;
    unspoken = "";
    Object.assign(game, {waiting: false, ended: false, status: null});
    again.hidden = true;
    createStickquest({
        arguments: new URLSearchParams(location.search).has("controls") ? ["controls"] : [],
        hostWrite: write,
        hostRead: read,
        printErr: console.error,
        onExit: status => {
            Object.assign(game, {ended: true, status});
            speak(true);
            again.hidden = false;
            again.focus();
        },
    });
    terminal.focus();
}

// The keys under the terminal type as the keyboard does. A tap leaves the focus where it is, so that
// no on-screen keyboard opens over the game; a click gives it to the terminal.
const typed = {Enter: "\r", Backspace: "\x7f"};
for (const button of document.querySelectorAll("[data-key]"))
    button.addEventListener("click", event => {
        press(typed[button.dataset.key] || button.dataset.key);
        if (event.pointerType != "touch")
            terminal.focus();
    });
// Once the player touches the screen, tapping the terminal opens no on-screen keyboard either: the
// page's keys are all the game needs.
let touched = false;
const keyboard_off = () => touched && terminal.textarea?.setAttribute("inputmode", "none");
document.addEventListener("pointerdown", event => {
    touched ||= event.pointerType == "touch";
    keyboard_off();
});
again.addEventListener("click", start);
fit();
new ResizeObserver(fit).observe(screen);

// Installable, and kept for playing offline, where the page is served: a page opened from disk may
// load no manifest and run no service worker, and it plays as it is.
if (location.protocol.startsWith("http")) {
    document.head.append(Object.assign(document.createElement("link"), {rel: "manifest", href: "stickquest.webmanifest"}));
    if ("serviceWorker" in navigator)
        navigator.serviceWorker.register("sw.js").catch(() => {});
}

// The first game. A browser that holds the page's first drawing for its scripts shows its first
// screen with it.
start();
