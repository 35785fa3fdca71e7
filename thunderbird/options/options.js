// Each control is stored the moment it changes: the next reply that opens
// reads the options afresh, so a change takes effect at once.
"use strict";

const { normaliseOptions, customHeaderProblem } = globalThis.KelvaneOptions;
const text = (name) => messenger.i18n.getMessage(name);
const REFUSALS = { length: "refusedLength", divider: "refusedDivider", news: "refusedNews", type: "refusedLength" };

function localise() {
  for (const element of document.querySelectorAll("[data-i18n]")) {
    element.textContent = text(element.dataset.i18n);
  }
  document.title = text("optionsTitle");
}

function show(problemId, message) {
  document.getElementById(problemId).textContent = message || "";
}

function valueOf(element) {
  if (element.type === "checkbox") return element.checked;
  if (element.id === "wrapColumn" || element.id === "headerStyle") return Number(element.value);
  return element.value;
}

function refusal(name, value) {
  if (name === "customHeader") {
    const problem = customHeaderProblem(value);
    return problem && text(REFUSALS[problem]);
  }
  if (name === "quoteChar" && !/^[\x21-\x7e]$/.test(value)) return text("refusedQuoteChar");
  return null;
}

async function store(element) {
  const value = valueOf(element);
  const why = refusal(element.id, value);
  if (element.id === "customHeader" || element.id === "quoteChar") show(element.id + "Problem", why);
  if (why) return;
  if (element.id === "wrapColumn" && (!Number.isInteger(value) || value < 60 || value > 99)) return;
  await messenger.storage.local.set({ [element.id]: value });
}

async function start() {
  localise();
  const stored = await messenger.storage.local.get(null);
  let managed = {};
  try {
    managed = await messenger.storage.managed.get(null);
  } catch (e) {
    // No managed manifest or policy.
  }
  const options = normaliseOptions(stored, managed);
  for (const [name, value] of Object.entries(options)) {
    const element = document.getElementById(name);
    if (!element) continue;
    if (element.type === "checkbox") element.checked = value;
    else element.value = String(value);
    if (name in managed) {
      element.disabled = true;
      element.title = text("managedNote");
      element.closest("p").classList.add("managed");
    }
    element.addEventListener(element.type === "checkbox" || element.tagName === "SELECT" ? "change" : "input", () => {
      store(element).catch((e) => console.error("kelvane: options: " + e));
    });
  }
}

start().catch((e) => console.error("kelvane: options: " + e));
