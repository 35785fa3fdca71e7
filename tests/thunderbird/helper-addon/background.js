"use strict";
// Test driver: runs the steps of scenario.json (written into the package by
// the runner) one after the other and reports each as one console line
// "kelvane-e2e: {json}", which the runner reads from Thunderbird's output.

function report(record) {
  console.log("kelvane-e2e: " + JSON.stringify(record));
}

function delay(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

async function poll(read, accept, timeoutMs, intervalMs = 25) {
  const start = Date.now();
  for (;;) {
    const value = await read();
    if (accept(value)) {
      return { value, waitedMs: Date.now() - start, timedOut: false };
    }
    if (Date.now() - start >= timeoutMs) {
      return { value, waitedMs: Date.now() - start, timedOut: true };
    }
    await delay(intervalMs);
  }
}

function count(haystack, needle) {
  return haystack.split(needle).length - 1;
}

function bodyOf(details) {
  return details.isPlainText ? details.plainTextBody : details.body;
}

// A wait names what the body must look like: equal to a text, different
// from one, holding some texts exactly once and others not at all.
function bodyMatches(body, want) {
  if (want.equals !== undefined && body !== want.equals) return false;
  if (want.differs !== undefined && body === want.differs) return false;
  for (const text of want.once || []) if (count(body, text) !== 1) return false;
  for (const text of want.absent || []) if (count(body, text) !== 0) return false;
  return true;
}

async function findFolder(name) {
  for (const account of await messenger.accounts.list(true)) {
    if (account.type !== "none") continue;
    const stack = [...(account.folders || [])];
    while (stack.length) {
      const folder = stack.shift();
      if (folder.name === name) return folder;
      stack.push(...(folder.subFolders || []));
    }
  }
  return null;
}

async function identityId(email) {
  for (const account of await messenger.accounts.list(false)) {
    for (const identity of account.identities || []) {
      if (identity.email === email) return identity.id;
    }
  }
  throw new Error("no identity " + email);
}

// A new mbox is listed only once its folder has been shown; showing it may
// report an error and still work, so the listing is what is waited for.
async function listMessages(folder, expected, timeoutMs) {
  try {
    await messenger.mailTabs.update({ displayedFolder: folder.id || folder });
  } catch (e) {
    report({ op: "show-folder", note: String(e) });
  }
  const listed = await poll(
    async () => (await messenger.messages.list(folder.id || folder)).messages,
    (messages) => messages.length >= expected,
    timeoutMs,
    200
  );
  return listed.value;
}

const replies = new Map(); // step name -> compose tab

async function details(name) {
  return messenger.compose.getComposeDetails(replies.get(name).id);
}

async function waitBody(name, want, timeoutMs) {
  const result = await poll(() => details(name), (d) => bodyMatches(bodyOf(d), want), timeoutMs);
  return { ...describe(result.value), waitedMs: result.waitedMs, timedOut: result.timedOut };
}

function describe(d) {
  return {
    isPlainText: d.isPlainText,
    body: bodyOf(d),
    html: d.isPlainText ? d.body : undefined,
    identityId: d.identityId,
  };
}

// Closing goes through the window's own Close command, which asks before
// closing a reply Thunderbird counts as changed.
async function close(name) {
  const start = Date.now();
  const result = await messenger.e2e.closeCompose(replies.get(name).windowId);
  return { ...result, closeMs: Date.now() - start };
}

// The compose script is injected a little after the editor is ready.
async function caret(name, timeoutMs) {
  const tabId = replies.get(name).id;
  const start = Date.now();
  for (;;) {
    try {
      return await messenger.tabs.sendMessage(tabId, { op: "caret" });
    } catch (e) {
      if (Date.now() - start >= timeoutMs) throw e;
      await delay(50);
    }
  }
}

// The product is done with a reply it rewrote once its button is enabled.
async function waitButton(name, addonId, timeoutMs) {
  const windowId = replies.get(name).windowId;
  const state = () => messenger.e2e.composeActionState(windowId, addonId);
  const result = await poll(state, (s) => s.found && !s.disabled, timeoutMs);
  return { ...result.value, timedOut: result.timedOut };
}

async function waitFile(path, timeoutMs) {
  return !(await poll(() => messenger.e2e.fileExists(path), (exists) => exists, timeoutMs, 50)).timedOut;
}

async function runStep(step, messages) {
  switch (step.op) {
    case "reply": {
      const message = messages.find((m) => m.subject === step.subject);
      if (!message) throw new Error("no message " + step.subject);
      const tab = await messenger.compose.beginReply(message.id, "replyToSender", {
        identityId: await identityId(step.identity),
      });
      replies.set(step.name, tab);
      const read = await waitBody(step.name, step.wait || {}, step.timeoutMs || 10000);
      const button = step.product ? await waitButton(step.name, step.product, step.timeoutMs || 10000) : undefined;
      // A reply whose body must stay as it is shows nothing to wait for; a
      // file the test's own programs make can say what happened to it.
      const file = step.afterFile ? await waitFile(step.afterFile, step.timeoutMs || 10000) : undefined;
      return { tabId: tab.id, file, button, ...read };
    }
    case "read":
      return waitBody(step.name, step.wait || {}, step.timeoutMs || 10000);
    case "caret":
      return caret(step.name, step.timeoutMs || 5000);
    case "identity":
      await messenger.compose.setComposeDetails(replies.get(step.name).id, {
        identityId: await identityId(step.identity),
      });
      return waitBody(step.name, step.wait || {}, step.timeoutMs || 10000);
    case "set":
      await messenger.compose.setComposeDetails(replies.get(step.name).id, { plainTextBody: step.body });
      return {};
    case "undo": {
      const button = await messenger.e2e.clickComposeAction(replies.get(step.name).windowId, step.product);
      return { button, ...(await waitBody(step.name, step.wait || {}, step.timeoutMs || 10000)) };
    }
    case "close":
      return close(step.name);
    case "options":
      await messenger.e2e.openAddonOptions(step.addon);
      return {};
    default:
      throw new Error("unknown step " + step.op);
  }
}

async function main() {
  const scenario = await (await fetch(messenger.runtime.getURL("scenario.json"))).json();
  await messenger.composeScripts.register({ js: [{ file: "caret.js" }] });
  // Right after start-up the accounts are listed before their folders are.
  const folder = (await poll(() => findFolder(scenario.folder), (f) => f !== null, 20000, 200)).value;
  if (!folder) {
    const accounts = (await messenger.accounts.list(true)).map((a) => ({
      type: a.type,
      name: a.name,
      folders: (a.folders || []).map((f) => f.name),
    }));
    report({ op: "folder", error: "no folder " + scenario.folder, accounts });
    report({ op: "done" });
    return;
  }
  const messages = await listMessages(folder, scenario.messageCount, 20000);
  report({ op: "folder", messages: messages.map((m) => m.subject) });
  if (scenario.product) {
    const started = await poll(() => messenger.e2e.backgroundState(scenario.product), (s) => s === "running", 30000, 100);
    report({ op: "product", state: started.value, waitedMs: started.waitedMs });
  }
  for (const [index, step] of scenario.steps.entries()) {
    const start = Date.now();
    try {
      const result = await runStep(step, messages);
      report({ index, op: step.op, name: step.name, ms: Date.now() - start, ...result });
    } catch (e) {
      report({ index, op: step.op, name: step.name, error: String(e) });
    }
  }
  report({ op: "done" });
}

main().catch((e) => {
  report({ op: "fatal", error: String(e) });
  report({ op: "done" });
});
