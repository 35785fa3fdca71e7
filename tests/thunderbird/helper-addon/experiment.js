"use strict";
// Privileged half of the test helper: what no WebExtension API shows.
/* global ChromeUtils, Services, IOUtils */
var { ExtensionCommon } = ChromeUtils.importESModule("resource://gre/modules/ExtensionCommon.sys.mjs");
var { ExtensionParent } = ChromeUtils.importESModule("resource://gre/modules/ExtensionParent.sys.mjs");

// The question Thunderbird asks before closing a changed compose window is a
// common dialog; it is answered "Cancel" so that the window stays.
function closeCompose(win) {
  let asked = null;
  const observer = (dialogWindow) => {
    asked = dialogWindow.document.getElementById("infoBody")?.textContent || "";
    dialogWindow.setTimeout(() => dialogWindow.document.querySelector("dialog").cancelDialog(), 0);
  };
  Services.obs.addObserver(observer, "common-dialog-loaded");
  try {
    win.goDoCommand("cmd_close");
  } finally {
    Services.obs.removeObserver(observer, "common-dialog-loaded");
  }
  return { asked: asked !== null, question: asked, closed: win.closed };
}

// Toolbar buttons of add-ons are named for the add-on id.
function composeActionButton(context, windowId, addonId) {
  const win = context.extension.windowManager.get(windowId, context).window;
  const id = addonId.toLowerCase().replace(/[^a-z0-9_-]/g, "_") + "-composeAction-toolbarbutton";
  return win.document.getElementById(id);
}

this.e2e = class extends ExtensionCommon.ExtensionAPI {
  getAPI(context) {
    return {
      e2e: {
        async closeCompose(windowId) {
          return closeCompose(context.extension.windowManager.get(windowId, context).window);
        },
        async composeActionState(windowId, addonId) {
          const button = composeActionButton(context, windowId, addonId);
          return button ? { found: true, disabled: button.disabled } : { found: false };
        },
        async clickComposeAction(windowId, addonId) {
          const win = context.extension.windowManager.get(windowId, context).window;
          const button = composeActionButton(context, windowId, addonId);
          if (!button) return { found: false };
          const disabled = button.disabled;
          // The button acts on the press of the primary mouse button.
          button.dispatchEvent(new win.MouseEvent("mousedown", { button: 0, bubbles: true, cancelable: true, view: win }));
          return { found: true, disabled };
        },
        // "running" once the background scripts have run, so their listeners are in place.
        async backgroundState(addonId) {
          return ExtensionParent.GlobalManager.getExtension(addonId)?.backgroundState ?? null;
        },
        async fileExists(path) {
          return IOUtils.exists(path);
        },
        async openAddonOptions(addonId) {
          const win = Services.wm.getMostRecentWindow("mail:3pane");
          await win.openAddonsMgr("addons://detail/" + encodeURIComponent(addonId) + "/preferences");
        },
      },
    };
  }
};
