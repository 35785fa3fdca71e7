// Name and address from a message header's author string, as messages.get()
// gives it: `Ann Lee <ann@example.com>`, `"Lee, Ann" <ann@example.com>`,
// `ann@example.com`, `ann@example.com (Ann Lee)`.
"use strict";

(function (root) {
  function unquote(name) {
    let text = name.trim();
    if (text.length >= 2 && text.startsWith('"') && text.endsWith('"')) {
      text = text.slice(1, -1).replace(/\\(.)/g, "$1");
    }
    return text.trim();
  }

  function parseAuthor(author) {
    const text = typeof author === "string" ? author.trim() : "";
    const angle = /^(.*)<([^<>]*)>\s*$/.exec(text);
    if (angle) return { name: unquote(angle[1]), mail: angle[2].trim() };
    const comment = /^([^\s()]+@[^\s()]+)\s*\((.*)\)\s*$/.exec(text);
    if (comment) return { name: comment[2].trim(), mail: comment[1] };
    if (/^[^\s@]+@[^\s@]+$/.test(text)) return { name: "", mail: text };
    return { name: unquote(text), mail: "" };
  }

  const api = { parseAuthor };
  if (typeof module === "object" && module.exports) module.exports = api;
  else root.KelvaneAuthor = api;
})(globalThis);
