"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { parseAuthor } = require("../lib/author.js");
const { customHeaderProblem, normaliseOptions, hostOptions, DEFAULTS } = require("../lib/options.js");
const { planBody, caretLine, splitLines, separatorEdit } = require("../lib/bodyplan.js");
const { fingerprint, userHasTyped, linesOf } = require("../lib/domtext.js");

test("author strings as message headers give them", () => {
  const cases = [
    ["Ann Lee <ann@example.com>", "Ann Lee", "ann@example.com"],
    ['"Lee, Ann" <ann@example.com>', "Lee, Ann", "ann@example.com"],
    ['"Ann \\"the\\" Lee" <ann@example.com>', 'Ann "the" Lee', "ann@example.com"],
    ["<ann@example.com>", "", "ann@example.com"],
    ["ann@example.com", "", "ann@example.com"],
    ["ann@example.com (Ann Lee)", "Ann Lee", "ann@example.com"],
    ["Jürgen Weiß <jw@example.de>", "Jürgen Weiß", "jw@example.de"],
    ["Undisclosed", "Undisclosed", ""],
    [undefined, "", ""],
  ];
  for (const [author, name, mail] of cases) assert.deepEqual(parseAuthor(author), { name, mail }, String(author));
});

test("custom headers are refused as the custom header dialog refuses them", () => {
  const cases = [
    ["%n wrote:\\n", null],
    ["-----%n-----", "divider"],
    ["----- %n", null],
    ['"%n" wrote in news:', "news"],
    ["<%m> news: says", "news"],
    ["%n wrote in news:", null],
    ["x".repeat(80), null],
    ["x".repeat(81), "length"],
    ["ä".repeat(40), null], // 80 bytes
    ["ä".repeat(40) + "x", "length"],
    [7, "type"],
  ];
  for (const [template, problem] of cases) assert.equal(customHeaderProblem(template), problem, String(template));
});

test("options fall back to defaults, managed values win, the host gets its fields", () => {
  assert.deepEqual(normaliseOptions(undefined, undefined), DEFAULTS);
  const bad = { quoteChar: " ", wrapColumn: "abc", headerStyle: 9, customHeader: "-----x-----", cursorAtTop: "maybe" };
  assert.deepEqual(normaliseOptions(bad, {}), DEFAULTS);
  const o = normaliseOptions({ wrapColumn: 12, quoteChar: "|", enabled: false }, { wrapColumn: "120", enabled: "true" });
  assert.equal(o.wrapColumn, 99);
  assert.equal(o.quoteChar, "|");
  assert.equal(o.enabled, true);
  assert.equal(normaliseOptions({ wrapColumn: 12 }).wrapColumn, 60);
  const h = hostOptions(o);
  assert.deepEqual(Object.keys(h).sort(), [
    "compressedIndentation", "cursorAtTop", "customHeader", "fixExistingQuotes", "headerStyle",
    "moveSignatureToBottom", "quoteChar", "stripQuotedSignature", "wrapColumn",
  ]);
  for (const name of ["compressedIndentation", "cursorAtTop", "moveSignatureToBottom", "stripQuotedSignature"]) {
    assert.ok(h[name] === 0 || h[name] === 1, name);
  }
});

test("the engine's text is laid out in the composer's blocks, every line once", () => {
  const cases = [
    // reply below the quote, signature at the end
    ["Ann wrote:\n> Hello\n> \n\n\n-- \nBob", ["-- ", "Bob"], ["cite", "quote", "text", "sig"]],
    // reply and signature above the quote, no dashes
    ["\n\nBob\nweb\n\nAnn wrote:\n> Hello\n", ["", "Bob", "web"], ["text", "sig", "text", "cite", "quote", "text"]],
    // two-line custom attribution, no signature
    ["Ann\nwrote:\n> Hi\n\n", null, ["cite", "quote", "text"]],
    // attribution style "none"
    ["> Hi\n\n-- \nBob", ["-- ", "Bob"], ["quote", "text", "sig"]],
    // signature moved below the quote: nothing after it, as Thunderbird ends such a body
    ["Ann wrote:\n> Hello\n\n\nBob\nweb\n", ["", "Bob", "web"], ["cite", "quote", "text", "sig"]],
  ];
  for (const [text, sig, kinds] of cases) {
    const blocks = planBody(text, sig, ">");
    assert.deepEqual(blocks.map((b) => b.kind), kinds, JSON.stringify(text));
    const laid = splitLines(text).slice(0, kinds.at(-1) === "sig" && text.endsWith("\n") ? -1 : undefined);
    assert.deepEqual(blocks.flatMap((b) => b.lines), laid, JSON.stringify(text));
  }
  assert.deepEqual([["", "Bob"], ["Bob"], ["-- ", "Bob"], ["--"], []].map(separatorEdit), ["fill", "prepend", null, null, null]);
  assert.equal(planBody("Ann wrote:\n> Hi\n\n-- \nRobert", ["-- ", "Bob"], ">"), null, "signature lost");
});

test("the caret line counts from the last line", () => {
  const cases = [[10, 3, false, 6], [10, 0, false, 9], [10, 20, false, 0], [10, -1, false, -1], [10, 3, true, 0], [0, 2, false, -1]];
  for (const [count, lines, top, want] of cases) assert.equal(caretLine(count, lines, top), want, JSON.stringify([count, lines, top]));
});

const el = (name, ...childNodes) => ({ nodeType: 1, nodeName: name, childNodes });
const tx = (data) => ({ nodeType: 3, nodeName: "#text", data, childNodes: [] });

test("lines and fingerprints of composer elements", () => {
  assert.deepEqual(linesOf(el("DIV", tx("-- "), el("BR"), tx("Bob"), el("BR"))), ["-- ", "Bob"]);
  assert.deepEqual(linesOf(el("DIV", el("BR"), tx("Bob"), el("BR"), tx("web"))), ["", "Bob", "web"]);
  assert.deepEqual(linesOf(el("PRE", tx("-- \nBob\nweb"))), ["-- ", "Bob", "web"]);
  const read = fingerprint(el("BODY", el("DIV", tx("Ann wrote:"), el("BR")), el("BR")));
  assert.equal(userHasTyped(read, el("BODY", el("DIV", tx("Ann wrote:"), el("BR")), el("BR"))), false);
  assert.equal(userHasTyped(read, el("BODY", el("DIV", tx("Ann wrote:"), el("BR")), tx("x"), el("BR"))), true);
  assert.equal(userHasTyped(read, el("BODY", el("DIV", tx("Ann wrote:"), el("BR")), el("BR"), el("BR"))), true);
  assert.equal(userHasTyped(read, el("BODY", el("DIV", tx("Ann wrote:"), el("BR"), el("BR")))), true);
});
