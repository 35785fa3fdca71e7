#include "HostRequest.h"

#include "Framing.h"
#include "HostJson.h"
#include "KelvaneVersion.h"
#include "RequestOptions.h"
#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"
#include "engine/mail/Flowed.h"
#include "tools/reformat/MailDraft.h"

namespace {

constexpr int kProtocolVersion = 1;

// The reply text.  The engine keeps the bytes it is given, and bodies arrive
// as valid UTF-8 (the parser takes nothing else); should a reply still hold
// a stray byte, it becomes U+FFFD rather than a reply that cannot be sent.
std::string Dump(const HostJson& reply) {
  return reply.dump(-1, ' ', false, HostJson::error_handler_t::replace);
}

HostJson Reply(const HostJson& id, bool ok) {
  HostJson reply = HostJson::object();
  reply["version"] = kProtocolVersion;
  reply["id"] = id;
  reply["ok"] = ok;
  return reply;
}

std::string Error(const HostJson& id, const char* code, const std::string& message) {
  HostJson reply = Reply(id, false);
  reply["error"] = {{"code", code}, {"message", message}};
  return Dump(reply);
}

// A member that may be absent or null.
const HostJson* Member(const HostJson& object, const char* name) {
  const auto it = object.find(name);
  return it == object.end() || it->is_null() ? nullptr : &*it;
}

// A switch member: absent is off.
bool ReadSwitch(const HostJson& request, const char* name, bool& on, std::string& error) {
  on = false;
  const HostJson* value = Member(request, name);
  if (value == nullptr) return true;
  if (value->is_boolean()) {
    on = value->get<bool>();
    return true;
  }
  if (value->is_number_integer() && (*value == 0 || *value == 1)) {
    on = *value == 1;
    return true;
  }
  error = std::string(name) + ": not 0, 1, true or false";
  return false;
}

bool ReadOptions(const HostJson& request, Settings& settings, std::string& error) {
  ResetSettings(settings);
  const HostJson* options = Member(request, "options");
  if (options == nullptr) return true;
  if (!options->is_object()) {
    error = "options: not an object";
    return false;
  }
  return ApplyRequestOptions(settings, *options, error);
}

// The sender as Thunderbird's message header gives it; the engine makes the
// address stand in for a missing name.  `given` is false when the request
// names no one.
bool ReadSender(const HostJson& request, Sender& sender, bool& given, std::string& error) {
  given = false;
  const HostJson* object = Member(request, "sender");
  if (object == nullptr) return true;
  if (!object->is_object()) {
    error = "sender: not an object";
    return false;
  }
  std::string* const parts[2] = {&sender.name, &sender.mail};
  const char* const names[2] = {"name", "mail"};
  for (int i = 0; i < 2; ++i) {
    const HostJson* value = Member(*object, names[i]);
    if (value == nullptr) continue;
    if (!value->is_string()) {
      error = std::string("sender.") + names[i] + ": not a string";
      return false;
    }
    *parts[i] = value->get_ref<const std::string&>();
  }
  given = !sender.name.empty() || !sender.mail.empty();
  return true;
}

std::string AnswerReply(const HostJson& request, const HostJson& id, const HostSetup& setup) {
  std::string error;
  const HostJson* text = Member(request, "body");
  if (text == nullptr || !text->is_string())
    return Error(id, "bad-request", text ? "body: not a string" : "body: missing");
  Settings settings;
  Sender sender;
  bool hasSender = false;
  bool flowed = false;
  bool delSp = false;
  if (!ReadOptions(request, settings, error) || !ReadSender(request, sender, hasSender, error) ||
      !ReadSwitch(request, "flowed", flowed, error) || !ReadSwitch(request, "delSp", delSp, error))
    return Error(id, "bad-request", error);

  const std::string& original = text->get_ref<const std::string&>();
  // A mail draft, measured as UTF-8 where the build can.
  TextForm form;
  form.measure = setup.measure;
  form.mailDraft = true;
  form.sender = hasSender ? &sender : nullptr;
  form.flowed = flowed;
  form.delSp = flowed && delSp;
  UseTodaysMailRules(form);
  std::string body = flowed ? DecodeFlowed(original, form.delSp) : original;
  int cursorLines = 0;
  ReformatResult result;
  {
    ReplyFormatter formatter(settings, form);
    result = formatter.ReformatReply(body, cursorLines);
  }
  HostJson reply = Reply(id, true);
  reply["result"] = static_cast<int>(result);
  if (result == kReformatUnchanged) {
    reply["cursorLines"] = -1;
    reply["cursorAtTop"] = false;
    return Dump(reply);
  }
  // The composer sends format=flowed by itself: a line ending in a blank
  // would reach the reader joined to the next one.
  if (!flowed) TrimTrailingBlanks(body);
  // The composer's last line end stands for an empty last line; the engine
  // counts cursorLines from the line before it.
  const bool endedInLine = !body.empty() && body.back() == '\n';
  RestoreDraftLineEnds(original, body);
  if (!endedInLine && !body.empty() && body.back() == '\n' && cursorLines >= 0) ++cursorLines;
  reply["body"] = std::move(body);
  reply["cursorLines"] = cursorLines;
  reply["cursorAtTop"] = settings.cursorAtTop != 0;
  return Dump(reply);
}

std::string AnswerAttribution(const HostJson& request, const HostJson& id) {
  std::string error;
  Settings settings;
  Sender sender;
  bool hasSender = false;
  if (!ReadOptions(request, settings, error) || !ReadSender(request, sender, hasSender, error))
    return Error(id, "bad-request", error);
  if (!hasSender) return Error(id, "bad-request", "sender: neither name nor mail");
  HostJson reply = Reply(id, true);
  // The style "O.E." keeps the mail client's own attribution: there is none
  // to give.
  if (settings.headerStyle != kHeaderStyleOE) reply["attribution"] = ComposeAttributionFor(settings, sender);
  return Dump(reply);
}

std::string AnswerPing(const HostJson& id) {
  HostJson reply = Reply(id, true);
  reply["program"] = "kelvane-host " KELVANE_VERSION;
  return Dump(reply);
}

std::string Answer(const std::string& text, const HostSetup& setup, HostJson& id) {
  const HostJson request = HostJson::parse(text, nullptr, false);
  if (request.is_discarded()) return Error(id, "bad-json", "not JSON");
  if (!request.is_object()) return Error(id, "bad-json", "not an object");
  const auto idMember = request.find("id");
  if (idMember != request.end() && idMember->is_number()) id = *idMember;

  const auto version = request.find("version");
  if (version == request.end()) return Error(id, "bad-version", "version: missing");
  if (!version->is_number() || *version != kProtocolVersion) return Error(id, "bad-version", "version: not 1");
  if (idMember == request.end()) return Error(id, "bad-request", "id: missing");
  if (!idMember->is_number()) return Error(id, "bad-request", "id: not a number");

  const auto type = request.find("type");
  if (type == request.end()) return Error(id, "bad-request", "type: missing");
  if (!type->is_string()) return Error(id, "bad-request", "type: not a string");
  const std::string& name = type->get_ref<const std::string&>();
  if (name == "reply") return AnswerReply(request, id, setup);
  if (name == "attribution") return AnswerAttribution(request, id);
  if (name == "ping") return AnswerPing(id);
  return Error(id, "bad-request", "type: unknown \"" + (name.size() <= 32 ? name : name.substr(0, 32) + "...") + "\"");
}

}  // namespace

std::string AnswerRequest(const std::string& request, const HostSetup& setup) {
  HostJson id = nullptr;
  std::string reply = Answer(request, setup, id);
  if (reply.size() > kMaxFrameSize)
    reply = Error(id, "reply-too-large",
                  "the reply would take " + std::to_string(reply.size()) + " bytes, more than the " +
                      std::to_string(kMaxFrameSize) + " of a message to Thunderbird");
  return reply;
}

std::string TooLargeReply() {
  return Error(nullptr, "too-large",
               "the request was longer than the " + std::to_string(kMaxFrameSize) + " bytes a request may take");
}
