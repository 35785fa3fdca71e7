// The user's options as the options page stores them and as the native host
// takes them.  Stored values may come from an older version, from a typing
// administrator (managed storage) or from nowhere: every reader goes through
// normaliseOptions, so a bad value falls back to its default instead of
// reaching the host as a refused request.
"use strict";

(function (root) {
  const HEADER_STYLES = 5; // O.E., short, short+m, none, custom
  const HEADER_STYLE_CUSTOM = 4;
  const CUSTOM_HEADER_MAX_BYTES = 80;
  const WRAP_MIN = 60;
  const WRAP_MAX = 99; // the tray program's field holds two digits

  // Thunderbird decides where an identity's signature goes (its "place my
  // signature below the quote" setting); the add-on moves it only when asked.
  const DEFAULTS = Object.freeze({
    enabled: true,
    htmlReplies: false,
    quoteChar: ">",
    wrapColumn: 72,
    compressedIndentation: true,
    headerStyle: 1,
    customHeader: "%n <%m> scribbled:\\n",
    cursorAtTop: true,
    moveSignatureToBottom: false,
    stripQuotedSignature: true,
    fixExistingQuotes: true,
  });

  const SWITCHES = [
    "enabled",
    "htmlReplies",
    "compressedIndentation",
    "cursorAtTop",
    "moveSignatureToBottom",
    "stripQuotedSignature",
    "fixExistingQuotes",
  ];

  function utf8Length(text) {
    return new TextEncoder().encode(text).length;
  }

  // The custom header dialog's rules: the template must not look like the
  // client's own "Original Message" divider or its newsgroup attribution,
  // which the engine would take for a header to replace next time.
  function customHeaderProblem(template) {
    if (typeof template !== "string") return "type";
    if (utf8Length(template) > CUSTOM_HEADER_MAX_BYTES) return "length";
    if (template.startsWith("-----") && template.endsWith("-----")) return "divider";
    if ((template.startsWith("<") || template.startsWith('"')) && template.includes("news:")) return "news";
    return null;
  }

  function asSwitch(value, fallback) {
    if (value === true || value === 1 || value === "1" || value === "true") return true;
    if (value === false || value === 0 || value === "0" || value === "false") return false;
    return fallback;
  }

  function asInteger(value) {
    const number = typeof value === "string" && value.trim() !== "" ? Number(value) : value;
    return typeof number === "number" && Number.isFinite(number) ? Math.trunc(number) : null;
  }

  function isQuoteChar(value) {
    // One printable ASCII character that is not a blank: the engine measures a
    // quote prefix in bytes.
    return typeof value === "string" && /^[\x21-\x7e]$/.test(value);
  }

  // Managed values first, then the user's, then the defaults.
  function normaliseOptions(stored, managed) {
    const merged = Object.assign({}, stored || {}, managed || {});
    const out = {};
    for (const name of SWITCHES) out[name] = asSwitch(merged[name], DEFAULTS[name]);
    out.quoteChar = isQuoteChar(merged.quoteChar) ? merged.quoteChar : DEFAULTS.quoteChar;
    const wrap = asInteger(merged.wrapColumn);
    out.wrapColumn = wrap === null ? DEFAULTS.wrapColumn : Math.min(WRAP_MAX, Math.max(WRAP_MIN, wrap));
    const style = asInteger(merged.headerStyle);
    out.headerStyle = style !== null && style >= 0 && style < HEADER_STYLES ? style : DEFAULTS.headerStyle;
    out.customHeader = customHeaderProblem(merged.customHeader) === null ? merged.customHeader : DEFAULTS.customHeader;
    return out;
  }

  // The host's options record: switches as 0/1, only the fields it knows.
  function hostOptions(options) {
    const bit = (on) => (on ? 1 : 0);
    return {
      wrapColumn: options.wrapColumn,
      quoteChar: options.quoteChar,
      compressedIndentation: bit(options.compressedIndentation),
      headerStyle: options.headerStyle,
      customHeader: options.customHeader,
      cursorAtTop: bit(options.cursorAtTop),
      moveSignatureToBottom: bit(options.moveSignatureToBottom),
      stripQuotedSignature: bit(options.stripQuotedSignature),
      fixExistingQuotes: bit(options.fixExistingQuotes),
    };
  }

  const api = {
    DEFAULTS,
    SWITCHES,
    HEADER_STYLE_CUSTOM,
    CUSTOM_HEADER_MAX_BYTES,
    WRAP_MIN,
    WRAP_MAX,
    customHeaderProblem,
    normaliseOptions,
    hostOptions,
  };
  if (typeof module === "object" && module.exports) module.exports = api;
  else root.KelvaneOptions = api;
})(globalThis);
