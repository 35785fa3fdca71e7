// One persistent connection to the native host serves the whole session; each
// reply that opens is read, rewritten by the host and laid back into the
// composer's document by the compose script (compose/editor.js).
"use strict";

const HOST = "org.example.kelvane";
const HOST_TIMEOUT_MS = 10000;
const { parseAuthor } = globalThis.KelvaneAuthor;
const { normaliseOptions, hostOptions } = globalThis.KelvaneOptions;
const text = (name, ...subs) => messenger.i18n.getMessage(name, subs) || name;

// Requests are answered in the order they came, but each carries its id, so a
// late answer after a timeout is dropped rather than given to the next caller.
class HostConnection {
  constructor() {
    this.port = null;
    this.nextId = 1;
    this.pending = new Map();
  }

  connect() {
    const port = messenger.runtime.connectNative(HOST);
    port.onMessage.addListener((message) => {
      const waiter = message && this.pending.get(message.id);
      if (!waiter) return;
      this.pending.delete(message.id);
      waiter.resolve(message);
    });
    port.onDisconnect.addListener((p) => {
      if (this.port === port) this.port = null;
      const why = (p.error && p.error.message) || "disconnected";
      for (const waiter of this.pending.values()) waiter.reject(new Error(why));
      this.pending.clear();
    });
    this.port = port;
  }

  request(fields) {
    if (!this.port) this.connect();
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.pending.delete(id);
        reject(new Error("no answer within " + HOST_TIMEOUT_MS + " ms"));
      }, HOST_TIMEOUT_MS);
      const done = (f) => (value) => {
        clearTimeout(timer);
        f(value);
      };
      this.pending.set(id, { resolve: done(resolve), reject: done(reject) });
      try {
        this.port.postMessage(Object.assign({ version: 1, id }, fields));
      } catch (e) {
        this.pending.delete(id);
        done(reject)(e);
      }
    });
  }
}

const host = new HostConnection();
const handledTabs = new Set();
const rewrittenTabs = new Set();

async function loadOptions() {
  const stored = await messenger.storage.local.get(null);
  let managed = {};
  try {
    managed = await messenger.storage.managed.get(null);
  } catch (e) {
    // No managed manifest or policy: nothing preset.
  }
  return normaliseOptions(stored, managed);
}

async function notify(reason) {
  console.warn("kelvane: reply left as it was: " + reason);
  try {
    await messenger.notifications.create({
      type: "basic",
      iconUrl: "icons/kelvane-64.png",
      title: text("extensionName"),
      message: text("noticeLeftAlone", reason),
    });
  } catch (e) {
    console.warn("kelvane: no notice shown: " + e);
  }
}

async function askHost(fields) {
  const answer = await host.request(fields);
  if (!answer.ok) {
    const error = answer.error || {};
    throw new Error("host error " + error.code + ": " + error.message);
  }
  return answer;
}

async function sendToComposer(tabId, message) {
  try {
    return await messenger.tabs.sendMessage(tabId, message);
  } catch (e) {
    // The compose script reaches windows opened after it was registered; a
    // composer that was already open gets it now.
    for (const file of ["lib/domtext.js", "lib/bodyplan.js", "compose/editor.js"]) {
      await messenger.tabs.executeScript(tabId, { file });
    }
    return messenger.tabs.sendMessage(tabId, message);
  }
}

async function senderOf(details) {
  if (!details.relatedMessageId) return {};
  const message = await messenger.messages.get(details.relatedMessageId);
  return message ? parseAuthor(message.author) : {};
}

// Typing between the read and the rewrite is the user's choice, not a fault:
// no notice, the reply counts as left alone.
function appliedResult(applied, result) {
  if (applied && applied.ok) return result;
  if (applied && applied.reason === "typed") return 1;
  throw new Error("not applied: " + (applied ? applied.reason : "no compose script"));
}

async function rewritePlain(tab, details, options, sender, read) {
  const answer = await askHost({
    type: "reply",
    body: details.plainTextBody,
    sender,
    options: hostOptions(options),
    flowed: false,
    delSp: false,
  });
  await read;
  if (answer.result === 1 || typeof answer.body !== "string") return answer.result;
  const applied = await sendToComposer(tab.id, {
    kelvane: "applyPlain",
    text: answer.body,
    quoteChar: options.quoteChar,
    cursorLines: answer.cursorLines,
    cursorAtTop: answer.cursorAtTop,
  });
  return appliedResult(applied, answer.result);
}

async function rewriteHtml(tab, options, sender, read) {
  let attribution = null;
  if (options.headerStyle !== 0) {
    attribution = (await askHost({ type: "attribution", sender, options: hostOptions(options) })).attribution;
  }
  await read;
  const applied = await sendToComposer(tab.id, {
    kelvane: "applyHtml",
    attribution,
    stripQuotedSignature: options.stripQuotedSignature,
    moveSignatureToBottom: options.moveSignatureToBottom,
    cursorAtTop: options.cursorAtTop,
  });
  return appliedResult(applied, 0);
}

async function handleCompose(tab) {
  if (tab.type !== "messageCompose" || handledTabs.has(tab.id)) return;
  handledTabs.add(tab.id);
  const options = await loadOptions();
  if (!options.enabled) return;
  const details = await messenger.compose.getComposeDetails(tab.id);
  const ready = performance.now();
  if (details.type !== "reply") return;
  if (!details.isPlainText && !options.htmlReplies) return;
  try {
    // The composer's snapshot is taken while the host works: the first
    // message to a compose script is the slowest step of a reply.
    const read = sendToComposer(tab.id, { kelvane: "read" });
    read.catch(() => {});
    const sender = await senderOf(details);
    const result = details.isPlainText
      ? await rewritePlain(tab, details, options, sender, read)
      : await rewriteHtml(tab, options, sender, read);
    if (result !== 1) {
      rewrittenTabs.add(tab.id);
      await messenger.composeAction.enable(tab.id);
    }
    const ms = (performance.now() - ready).toFixed(1);
    console.log(`kelvane: reply ${tab.id} result ${result} in ${ms} ms`);
  } catch (e) {
    await notify(e.message || String(e));
  }
}

async function undo(tab) {
  if (!rewrittenTabs.has(tab.id)) return;
  const done = await sendToComposer(tab.id, { kelvane: "undo" });
  if (done && done.ok) {
    rewrittenTabs.delete(tab.id);
    await messenger.composeAction.disable(tab.id);
  }
}

async function start() {
  messenger.tabs.onCreated.addListener((tab) => {
    handleCompose(tab).catch((e) => console.error("kelvane: " + e));
  });
  messenger.tabs.onRemoved.addListener((tabId) => {
    handledTabs.delete(tabId);
    rewrittenTabs.delete(tabId);
  });
  messenger.composeAction.onClicked.addListener((tab) => {
    undo(tab).catch((e) => console.error("kelvane: undo: " + e));
  });
  await messenger.composeAction.disable();
  await messenger.composeScripts.register({
    js: [{ file: "lib/domtext.js" }, { file: "lib/bodyplan.js" }, { file: "compose/editor.js" }],
  });
  console.log("kelvane: ready");
  // Started now, the host is running when the first reply opens.
  host.request({ type: "ping" }).catch((e) => console.warn("kelvane: host not reached: " + e.message));
}

start().catch((e) => console.error("kelvane: start: " + e));
