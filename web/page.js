// SPDX-License-Identifier: MIT
// The page: an 80x24 terminal, and between it and the game what a terminal in canonical mode does
// for the native game. Keys are echoed and gathered into a line that Enter hands over; the game's
// reads wait for whole lines, and nothing typed is ever lost, however busy the game is.
"use strict";

const screen = document.getElementById("terminal");
const again = document.getElementById("again");
const sound = document.getElementById("sound");
const terminal = new Terminal({cols: 80, rows: 24, convertEol: true, scrollback: 0, fontSize: 16});
terminal.open(screen);

// What the page tells whoever watches it (the browser test, a curious player): whether the game
// waits for input with all it wrote on the screen, whether it has ended, and some counts.
const game = {waiting: false, waits: 0, ended: true, status: null, unshown: 0, writes: 0, bells: 0};
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

function press(character) {
    if (game.ended)
        return;
    if (character == "\r") {
        show("\r\n");
        hand_over(encoder.encode(line + "\n"));
        line = "";
    } else if (character == "\x7f" || character == "\b") {
        const last = Array.from(line).pop();
        if (last === undefined)
            return;
        line = line.slice(0, -last.length);
        const width = echoed(last).length;
        show("\b".repeat(width) + " ".repeat(width) + "\b".repeat(width));
    } else if (character == "\x04") {
        // Ctrl-D hands over the line as it stands; on an empty line that is the end of input.
        hand_over(line ? encoder.encode(line) : null);
        line = "";
    } else {
        show(echoed(character));
        line += character;
    }
}

terminal.onData(data => Array.from(data).forEach(press));

function show(data) {
    game.unshown++;
    terminal.write(data, () => game.unshown--);
}

function write(bytes) {
    game.writes++;
    show(bytes.slice());
    return bytes.length;
}

function read(size) {
    return new Promise(resolve => {
        reader = {size, resolve};
        game.waiting = lines.length == 0;
        game.waits += game.waiting;
        deliver();
    });
}

// The bell: a short flash, and a short beep where sound is on and the browser allows it (after the
// player's first key or click).
let audio = null;
function ring() {
    game.bells++;
    screen.classList.add("flash");
    setTimeout(() => screen.classList.remove("flash"), 150);
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

// All 80 columns fit the window, on a phone too: the font shrinks until they do. The room is what
// the page's and the terminal's padding leave.
function fit() {
    const room = document.querySelector("main").clientWidth - 24;
    const columns = () => screen.querySelector(".xterm-screen").offsetWidth;
    terminal.options.fontSize = Math.min(16, Math.floor(terminal.options.fontSize * room / columns() * 10) / 10);
    while (columns() > room && terminal.options.fontSize > 4)
        terminal.options.fontSize -= 0.5;
}
window.addEventListener("resize", fit);

// A new game, as a new start in a new terminal would give: a cleared screen, experience at 0.
function start() {
    terminal.reset();
    line = "";
    lines = [];
    reader = null;
    Object.assign(game, {waiting: false, ended: false, status: null});
    again.hidden = true;
    createStickquest({
        arguments: new URLSearchParams(location.search).has("controls") ? ["controls"] : [],
        hostWrite: write,
        hostRead: read,
        printErr: console.error,
        onExit: status => {
            Object.assign(game, {ended: true, status});
            again.hidden = false;
        },
    });
    terminal.focus();
}

for (const button of document.querySelectorAll("[data-key]"))
    button.addEventListener("click", () => {
        press(button.dataset.key == "Enter" ? "\r" : button.dataset.key);
        terminal.focus();
    });
again.addEventListener("click", start);
fit();
start();
