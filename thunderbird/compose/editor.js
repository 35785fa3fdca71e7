// Runs in the composer's document.  The rewrite is applied here, to the
// editor's DOM, rather than through compose.setComposeDetails: a body set
// through the API marks the message as changed (closing an untouched reply
// would ask to save) and turns the identity's signature into plain text (a
// switch of identity would append the new signature to the old one).  Changes
// made to the DOM keep Thunderbird's signature, attribution and quote elements
// and leave the editor's "modified" state alone.
"use strict";

(function () {
  const { fingerprint, userHasTyped, linesOf } = globalThis.KelvaneDomText;
  const { splitLines, planBody, caretLine, separatorEdit } = globalThis.KelvaneBodyPlan;

  // What Thunderbird made, for Undo, and what was read, for the typing test.
  let original = null;
  let originalCaret = null;
  let readPrint = null;

  const body = () => document.body;
  const topLevel = (selector) => [...body().children].filter((e) => e.matches(selector));
  const signatureElement = () => topLevel(".moz-signature").pop() || null;

  function caretOffset() {
    const selection = window.getSelection();
    if (!selection.rangeCount || selection.anchorNode !== body()) return null;
    return selection.anchorOffset;
  }

  function placeCaret(container, before) {
    const range = document.createRange();
    if (before) range.setStartBefore(before);
    else range.setStart(container, container.childNodes.length);
    range.collapse(true);
    const selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
  }

  function read() {
    original = [...body().childNodes].map((n) => n.cloneNode(true));
    originalCaret = caretOffset();
    readPrint = fingerprint(body());
    const signature = signatureElement();
    return { signatureLines: signature ? linesOf(signature) : null };
  }

  // Appends each line as text and a <br>; returns the node each line starts at.
  function appendLines(container, lines) {
    const starts = [];
    for (const line of lines) {
      const br = document.createElement("br");
      if (line !== "") {
        const text = document.createTextNode(line);
        container.append(text, br);
        starts.push(text);
      } else {
        container.append(br);
        starts.push(br);
      }
    }
    return starts;
  }

  // The nodes the signature element's lines start at.
  function signatureStarts(signature) {
    const starts = [];
    let lineOpen = false;
    const walk = (node) => {
      for (const child of node.childNodes) {
        if (!lineOpen) {
          starts.push(child);
          lineOpen = true;
        }
        if (child.nodeName === "BR") lineOpen = false;
        else if (child.nodeType === Node.ELEMENT_NODE) walk(child);
      }
    };
    walk(signature);
    return starts;
  }

  // Inside the element, so that a switch of identity replaces it along with
  // the signature; returns the edit made.
  function addSeparator(signature) {
    const edit = separatorEdit(linesOf(signature));
    const dashes = document.createTextNode("-- ");
    if (edit === "fill") {
      const first = signatureStarts(signature)[0];
      first.parentNode.insertBefore(dashes, first);
    } else if (edit === "prepend") {
      signature.prepend(dashes, document.createElement("br"));
    }
    return edit;
  }

  function applyPlain(message) {
    if (userHasTyped(readPrint, body())) return { ok: false, reason: "typed" };
    const signature = signatureElement();
    const blocks = planBody(message.text, signature ? linesOf(signature) : null, message.quoteChar);
    if (!blocks) return { ok: false, reason: "signature" };
    const cite = topLevel(".moz-cite-prefix")[0];
    const quote = topLevel("span")[0];
    const kinds = blocks.map((b) => b.kind);
    const movedDown =
      signature &&
      quote &&
      (signature.compareDocumentPosition(quote) & Node.DOCUMENT_POSITION_FOLLOWING) !== 0 &&
      kinds.includes("quote") &&
      kinds.indexOf("sig") > kinds.indexOf("quote");
    const edit = movedDown ? addSeparator(signature) : null;
    const fresh = document.createDocumentFragment();
    const starts = [];
    for (const block of blocks) {
      if (block.kind === "sig") {
        // The empty first line that became the separator stays as the empty
        // line above it, as Thunderbird lays out a signature below the quote.
        if (edit === "fill") fresh.append(document.createElement("br"));
        fresh.append(signature);
        const at = signatureStarts(signature).slice(edit === "prepend" ? 1 : 0);
        block.lines.forEach((_, i) => starts.push(at[Math.min(i, at.length - 1)] || signature));
        continue;
      }
      let container = fresh;
      if (block.kind === "cite") {
        container = cite ? cite.cloneNode(false) : Object.assign(document.createElement("div"), { className: "moz-cite-prefix" });
      } else if (block.kind === "quote") {
        container = quote ? quote.cloneNode(false) : document.createElement("span");
        if (!quote) container.setAttribute("style", "white-space: pre-wrap; display: block; width: 98vw;");
      }
      starts.push(...appendLines(container, block.lines));
      if (container !== fresh) fresh.append(container);
    }
    body().replaceChildren(fresh);
    // Counted in the engine's lines: the plan may leave out an empty last one.
    const line = caretLine(splitLines(message.text).length, message.cursorLines, message.cursorAtTop);
    placeCaret(body(), line < 0 ? null : starts[line] || null);
    return { ok: true };
  }

  function setAttribution(cite, text) {
    cite.replaceChildren();
    if (text === "") return;
    for (const line of text.replace(/\n$/, "").split("\n")) {
      cite.append(document.createTextNode(line), document.createElement("br"));
    }
  }

  function stripQuotedSignature(quote) {
    for (const signature of quote.querySelectorAll(".moz-signature")) signature.remove();
    // A plain-text original is quoted as one <pre>: its signature is text.
    for (const pre of quote.querySelectorAll("pre.moz-quote-pre")) {
      const last = pre.lastChild;
      if (!last || last.nodeType !== Node.TEXT_NODE) continue;
      let cut = last.data.lastIndexOf("\n-- \n");
      if (cut >= 0) cut += 1;
      else if (last.data.startsWith("-- \n")) cut = 0;
      if (cut >= 0) last.data = last.data.slice(0, cut);
    }
  }

  function applyHtml(message) {
    if (userHasTyped(readPrint, body())) return { ok: false, reason: "typed" };
    const cite = topLevel(".moz-cite-prefix")[0];
    const quote = topLevel("blockquote")[0];
    if (!quote) return { ok: false, reason: "no-quote" };
    if (cite && typeof message.attribution === "string") setAttribution(cite, message.attribution);
    if (message.stripQuotedSignature) stripQuotedSignature(quote);
    const signature = signatureElement();
    if (message.moveSignatureToBottom && signature && quote.compareDocumentPosition(signature) & Node.DOCUMENT_POSITION_PRECEDING) {
      const gap = document.createElement("p");
      gap.append(document.createElement("br"));
      quote.after(gap, signature);
    }
    if (message.cursorAtTop) {
      placeCaret(body(), body().firstChild);
    } else {
      const next = quote.nextSibling;
      if (next && next.nodeName === "P") placeCaret(next, next.firstChild);
      else placeCaret(body(), next);
    }
    return { ok: true };
  }

  function undo() {
    if (!original) return { ok: false, reason: "nothing" };
    body().replaceChildren(...original.map((n) => n.cloneNode(true)));
    readPrint = fingerprint(body());
    if (originalCaret !== null) {
      const range = document.createRange();
      range.setStart(body(), Math.min(originalCaret, body().childNodes.length));
      range.collapse(true);
      window.getSelection().removeAllRanges();
      window.getSelection().addRange(range);
    }
    return { ok: true };
  }

  browser.runtime.onMessage.addListener((message) => {
    if (!message || typeof message.kelvane !== "string") return undefined;
    switch (message.kelvane) {
      case "read":
        return Promise.resolve(read());
      case "applyPlain":
        return Promise.resolve(applyPlain(message));
      case "applyHtml":
        return Promise.resolve(applyHtml(message));
      case "undo":
        return Promise.resolve(undo());
      default:
        return undefined;
    }
  });
})();
