// How the engine's new text is laid back into the plain-text composer's
// document.  Thunderbird's document holds each line as text and a <br>, the
// attribution in a <div class="moz-cite-prefix">, the quote in a <span>, and
// the identity's signature in a <div class="moz-signature">.  Thunderbird finds
// these elements again when the user switches identity (the signature is
// replaced, and placed above the quote or at the end as the identity says), so
// the plan keeps them: the signature element itself is moved, never retyped.
"use strict";

(function (root) {
  function trimBlankEdges(lines) {
    let first = 0;
    let last = lines.length;
    while (first < last && lines[first] === "") ++first;
    while (last > first && lines[last - 1] === "") --last;
    return { core: lines.slice(first, last), leading: first };
  }

  // Every line of the document ends in a <br>, and Thunderbird's plain text
  // drops the last line end: "a\n" is the line "a" and an empty line.
  function splitLines(text) {
    return text.split("\n");
  }

  // The last place where `needle` stands as whole lines in `lines`, or -1.
  function findLastRun(lines, needle) {
    if (needle.length === 0) return -1;
    for (let at = lines.length - needle.length; at >= 0; --at) {
      let same = true;
      for (let i = 0; i < needle.length && same; ++i) same = lines[at + i] === needle[i];
      if (same) return at;
    }
    return -1;
  }

  // Blocks in document order: {kind: "text"|"cite"|"quote"|"sig", lines}.
  // `signatureLines` are the signature element's lines, or null when the reply
  // has none; null is returned when the engine's text no longer holds them.
  function planBody(text, signatureLines, quoteChar) {
    const lines = splitLines(text);
    let sigFrom = -1;
    let sigTo = -1;
    if (signatureLines) {
      const { core, leading } = trimBlankEdges(signatureLines);
      const at = findLastRun(lines, core);
      if (at < 0 && core.length) return null;
      if (at >= 0) {
        sigFrom = at;
        sigTo = at + core.length;
        // The element's own blank first lines, where the text still has them.
        for (let i = 0; i < leading && sigFrom > 0 && lines[sigFrom - 1] === ""; ++i) --sigFrom;
        const trailing = signatureLines.length - leading - core.length;
        for (let i = 0; i < trailing && sigTo < lines.length && lines[sigTo] === ""; ++i) ++sigTo;
      }
    }
    const isQuote = (i) => lines[i].startsWith(quoteChar);
    const blocks = [];
    const push = (kind, line) => {
      const last = blocks[blocks.length - 1];
      if (last && last.kind === kind && kind !== "sig") last.lines.push(line);
      else blocks.push({ kind, lines: [line] });
    };
    let citeSeen = false;
    for (let i = 0; i < lines.length; ++i) {
      if (i >= sigFrom && i < sigTo) {
        if (i === sigFrom) blocks.push({ kind: "sig", lines: lines.slice(sigFrom, sigTo) });
        continue;
      }
      if (isQuote(i)) {
        push("quote", lines[i]);
        continue;
      }
      // The attribution: the lines with text right above the first quote.
      if (!citeSeen && lines[i] !== "") {
        let j = i;
        while (j < lines.length && lines[j] !== "" && !isQuote(j) && !(j >= sigFrom && j < sigTo)) ++j;
        if (j < lines.length && isQuote(j)) {
          citeSeen = true;
          for (; i < j; ++i) push("cite", lines[i]);
          --i;
          continue;
        }
      }
      push("text", lines[i]);
    }
    // Thunderbird ends a body whose signature comes last with the signature
    // element; the empty line after the text's final line feed stood below
    // the quote, where Thunderbird had ended the body.
    const last = blocks[blocks.length - 1];
    if (blocks.length > 1 && blocks[blocks.length - 2].kind === "sig" && last.lines.length === 1 && last.lines[0] === "")
      blocks.pop();
    return blocks;
  }

  // How a signature moved below the quote gets the separator that lets mail
  // programs recognise it (Thunderbird writes none above the quote): "fill"
  // its empty first line, "prepend" a line, or null when it has one.
  function separatorEdit(signatureLines) {
    if (!signatureLines || signatureLines.length === 0) return null;
    const first = signatureLines[0].trimEnd();
    if (first === "--") return null;
    return first === "" ? "fill" : "prepend";
  }

  // The line the caret goes to, counted from 0, or -1 for the end of the body.
  function caretLine(lineCount, cursorLines, cursorAtTop) {
    if (cursorAtTop) return 0;
    if (typeof cursorLines !== "number" || cursorLines < 0 || lineCount === 0) return -1;
    return Math.max(0, lineCount - 1 - cursorLines);
  }

  const api = { splitLines, planBody, caretLine, separatorEdit };
  if (typeof module === "object" && module.exports) module.exports = api;
  else root.KelvaneBodyPlan = api;
})(globalThis);
