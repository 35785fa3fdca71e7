// Plain readings of a composer document, written against the few node fields
// they need (nodeType, nodeName, data, childNodes) so that they run on plain
// objects as well as on the editor's DOM.
"use strict";

(function (root) {
  const TEXT_NODE = 3;
  const ELEMENT_NODE = 1;

  // Everything the user can change by typing, and the elements that hold it:
  // two documents with equal fingerprints read the same and are built the same.
  function fingerprint(node) {
    if (node.nodeType === TEXT_NODE) return JSON.stringify(node.data);
    if (node.nodeType !== ELEMENT_NODE) return "";
    let out = "<" + node.nodeName;
    for (const child of node.childNodes) out += fingerprint(child);
    return out + ">";
  }

  function userHasTyped(fingerprintAtRead, node) {
    return fingerprint(node) !== fingerprintAtRead;
  }

  // The lines of an element as the plain-text composer shows them: a <br>
  // ends a line, text may hold line feeds of its own (a <pre>).
  function linesOf(node) {
    const lines = [];
    let current = "";
    const walk = (n) => {
      if (n.nodeType === TEXT_NODE) {
        const parts = n.data.split("\n");
        current += parts[0];
        for (let i = 1; i < parts.length; ++i) {
          lines.push(current);
          current = parts[i];
        }
      } else if (n.nodeType === ELEMENT_NODE) {
        if (n.nodeName.toUpperCase() === "BR") {
          lines.push(current);
          current = "";
        } else {
          for (const child of n.childNodes) walk(child);
        }
      }
    };
    for (const child of node.childNodes) walk(child);
    // An unended last line counts when it holds text.
    if (current !== "") lines.push(current);
    return lines;
  }

  const api = { fingerprint, userHasTyped, linesOf };
  if (typeof module === "object" && module.exports) module.exports = api;
  else root.KelvaneDomText = api;
})(globalThis);
