"use strict";
// Compose script: tells on which line of the plain-text editor the caret is.
// The editor shows line ends as <br> elements or as line feeds in text, and
// quote blocks as block elements; each of them starts a new line.
const kBlocks = new Set(["DIV", "P", "PRE", "BLOCKQUOTE"]);

function linesBefore(node, state) {
  if (node.nodeType === Node.TEXT_NODE) {
    state.text += node.data;
    return;
  }
  if (node.nodeName === "BR") {
    state.text += "\n";
    return;
  }
  const block = kBlocks.has(node.nodeName);
  if (block && state.text !== "" && !state.text.endsWith("\n")) {
    state.text += "\n";
  }
  for (const child of node.childNodes) {
    linesBefore(child, state);
  }
}

function caretLine() {
  const selection = window.getSelection();
  if (!selection || selection.rangeCount === 0) {
    return { line: null };
  }
  const range = document.createRange();
  range.setStart(document.body, 0);
  range.setEnd(selection.anchorNode, selection.anchorOffset);
  const state = { text: "" };
  linesBefore(range.cloneContents(), state);
  return { line: state.text.split("\n").length - 1, collapsed: selection.isCollapsed };
}

browser.runtime.onMessage.addListener((message) => {
  if (message && message.op === "caret") {
    return Promise.resolve(caretLine());
  }
  return undefined;
});
