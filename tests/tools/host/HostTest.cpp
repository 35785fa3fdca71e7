// kelvane-host's framing, requests and replies, run in-process over strings.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ByteStreams.h"
#include "Framing.h"
#include "HostJson.h"
#include "HostRequest.h"
#include "HostSession.h"
#include "KelvaneVersion.h"

namespace {

std::string Header(std::uint32_t length) {
  std::string header(sizeof length, '\0');
  std::memcpy(&header[0], &length, sizeof length);
  return header;
}

std::string Frame(const std::string& message) {
  return Header(static_cast<std::uint32_t>(message.size())) + message;
}

const std::string kPing = R"({"version":1,"id":1,"type":"ping"})";
const std::string kAttribution = "On 12/7/26 10:15 AM, Ann Lee wrote:\\n";

struct Session {
  int status = -1;
  std::vector<HostJson> replies;
};

// Runs a whole session over `input`; every reply must be a frame of JSON that
// Thunderbird takes.
Session RunSession(const std::string& input) {
  StringReader in(input);
  StringWriter out;
  Session session;
  session.status = RunHostSession(in, out, HostSetup());
  StringReader written(out.bytes);
  std::string frame;
  while (ReadFrame(written, frame) == FrameRead::kFrame) {
    const HostJson reply = HostJson::parse(frame, nullptr, false);
    EXPECT_TRUE(reply.is_object()) << frame.substr(0, 200);
    session.replies.push_back(reply);
  }
  return session;
}

// "ok" or the error code of a reply.
std::string Outcome(const HostJson& reply) {
  if (reply.value("ok", false)) return "ok";
  const auto error = reply.find("error");
  return error != reply.end() && error->is_object() ? error->value("code", "?") : "?";
}

std::string Reply(const std::string& members) {
  return R"({"version":1,"id":3,"type":"reply",)" + members + "}";
}

// A request of exactly `size` bytes whose body is `head` and then `line`
// (JSON text) again and again.
std::string HugeReply(std::size_t size, const std::string& head, const std::string& line) {
  const std::string request = Reply(R"("body":")" + head + "\"");
  std::string body;
  while (request.size() + body.size() + line.size() <= size) body += line;
  body.append(size - request.size() - body.size(), 'x');
  return request.substr(0, request.size() - 2) + body + request.substr(request.size() - 2);
}

TEST(HostFraming, SessionsEndQuietlyAndAnswerEveryWholeFrameInOrder) {
  const std::string tooLarge = Header(kMaxFrameSize + 1) + std::string(kMaxFrameSize + 1, '{');
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> outcomes;
  } cases[] = {
      {"empty input", "", {}},
      {"several frames", Frame(kPing) + Frame("[") + Frame(kPing), {"ok", "bad-json", "ok"}},
      {"zero length", Header(0) + Frame(kPing), {"bad-json", "ok"}},
      {"truncated header", Frame(kPing) + std::string("\x05\x00", 2), {"ok"}},
      {"truncated body", Frame(kPing) + Header(100) + kPing, {"ok"}},
      {"oversized, skipped", tooLarge + Frame(kPing), {"too-large", "ok"}},
      {"oversized, input ends while skipping", Frame(kPing) + Header(0xFFFFFFFFu) + kPing, {"ok"}},
      // A body near the limit; the engine leaves the first alone and lengthens
      // the second (the quote's prefixes) past what Thunderbird takes.
      {"huge body at the limit", Frame(HugeReply(kMaxFrameSize, "", "plain text\\n")) + Frame(kPing), {"ok", "ok"}},
      {"huge reply",
       Frame(HugeReply(kMaxFrameSize, kAttribution, "> a\\n>>b c\\n")) + Frame(kPing),
       {"reply-too-large", "ok"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Session session = RunSession(c.input);
    EXPECT_EQ(session.status, 0);
    std::vector<std::string> outcomes;
    for (const HostJson& reply : session.replies) {
      outcomes.push_back(Outcome(reply));
      EXPECT_EQ(reply.value("version", 0), 1);
    }
    EXPECT_EQ(outcomes, c.outcomes);
  }
  // Every answer to a request that got as far as its id carries it.
  EXPECT_EQ(RunSession(Frame(HugeReply(kMaxFrameSize, kAttribution, "> a\\n>>b c\\n"))).replies.at(0)["id"], 3);
}

TEST(HostFraming, EndsWhenRepliesCannotBeWritten) {
  class Closed final : public ByteWriter {
  public:
    bool Write(const char*, std::size_t) override { return false; }
    bool Flush() override { return false; }
  } closed;
  const std::string input = Frame(kPing) + Frame(kPing);
  StringReader in(input);
  EXPECT_EQ(RunHostSession(in, closed, HostSetup()), 1);
}

TEST(HostRequests, RefusesWhatDoesNotFitTheProtocol) {
  const std::string header81(81, 'h');
  const struct {
    std::string request;
    const char* code;
    const char* message;  // a part of the error's message
    bool echoesId;
  } cases[] = {
      {R"({"version":1,"id":3,"type":"ping")", "bad-json", "not JSON", false},
      {"", "bad-json", "not JSON", false},
      {R"({"version":1,"id":3,"type":"ping"} x)", "bad-json", "not JSON", false},
      {"\"\xff\"", "bad-json", "not JSON", false},
      {R"([{"version":1,"id":3,"type":"ping"}])", "bad-json", "not an object", false},
      {R"({"id":3,"type":"ping"})", "bad-version", "missing", true},
      {R"({"version":2,"id":3,"type":"ping"})", "bad-version", "not 1", true},
      {R"({"version":"1","id":3,"type":"ping"})", "bad-version", "not 1", true},
      {R"({"version":1,"type":"ping"})", "bad-request", "id: missing", false},
      {R"({"version":1,"id":"3","type":"ping"})", "bad-request", "id: not a number", false},
      {R"({"version":1,"id":3})", "bad-request", "type: missing", true},
      {R"({"version":1,"id":3,"type":["ping"]})", "bad-request", "type: not a string", true},
      {R"({"version":1,"id":3,"type":"rewrite"})", "bad-request", "type: unknown \"rewrite\"", true},
      {Reply(R"("options":{})"), "bad-request", "body: missing", true},
      {Reply(R"("body":["x"])"), "bad-request", "body: not a string", true},
      {Reply(R"("body":"x","options":[])"), "bad-request", "options: not an object", true},
      {Reply(R"("body":"x","options":{"wrapColumn":"72"})"), "bad-request", "options.wrapColumn: not a whole", true},
      {Reply(R"("body":"x","options":{"wrapColumn":72.5})"), "bad-request", "options.wrapColumn: not a whole", true},
      {Reply(R"("body":"x","options":{"wrapColumn":4294967296})"), "bad-request", "32-bit", true},
      {Reply(R"("body":"x","options":{"headerStyle":true})"), "bad-request", "options.headerStyle: not a whole", true},
      {Reply(R"("body":"x","options":{"cursorAtTop":2})"), "bad-request", "options.cursorAtTop: not 0, 1", true},
      {Reply(R"("body":"x","options":{"quoteChar":">>"})"), "bad-request", "options.quoteChar", true},
      {Reply(R"("body":"x","options":{"quoteChar":62})"), "bad-request", "options.quoteChar: not a string", true},
      {Reply(R"("body":"x","options":{"colour":1})"), "bad-request", "options.colour: unknown option", true},
      {Reply(R"("body":"x","options":{"customHeader":"-----Original Message-----"})"), "bad-request",
       "options.customHeader: refused", true},
      {Reply(R"("body":"x","options":{"customHeader":"<%m> news:%n"})"), "bad-request", "refused", true},
      {Reply(R"("body":"x","options":{"customHeader":")" + header81 + "\"}"), "bad-request", "longer than 80", true},
      {Reply(R"("body":"x","options":{"customHeader":"%n\u0000 wrote:"})"), "bad-request", "zero", true},
      {Reply(R"("body":"x","sender":"Ann Lee")"), "bad-request", "sender: not an object", true},
      {Reply(R"("body":"x","sender":{"name":1})"), "bad-request", "sender.name: not a string", true},
      {Reply(R"("body":"x","flowed":"yes")"), "bad-request", "flowed: not 0, 1", true},
      {R"({"version":1,"id":3,"type":"attribution"})", "bad-request", "sender: neither", true},
      {R"({"version":1,"id":3,"type":"attribution","sender":{"name":"","mail":""}})", "bad-request", "sender: neither",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request.substr(0, 120));
    const HostJson reply = HostJson::parse(AnswerRequest(c.request, HostSetup()), nullptr, false);
    ASSERT_TRUE(reply.is_object());
    EXPECT_EQ(reply["ok"], false);
    EXPECT_EQ(Outcome(reply), c.code);
    const std::string message = reply["error"].value("message", "");
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_EQ(reply["id"], c.echoesId ? HostJson(3) : HostJson(nullptr));
  }
}

TEST(HostRequests, TakesEveryFormTheProtocolAllows) {
  const std::string header80 = std::string(78, 'h') + "%n";
  const std::string accepted[] = {
      Reply(R"("body":"x","options":{"cursorAtTop":true,"stripQuotedSignature":0,"fixExistingQuotes":1})"),
      Reply(R"("body":"x","options":{"headerStyle":4,"customHeader":")" + header80 + "\"}"),
      Reply(R"("body":"x","options":{"customHeader":"-----%n wrote"}, "sender":null,"flowed":1,"delSp":true)"),
      Reply(R"("body":"x","sender":{"mail":"ann@example.com"},"extra":{"ignored":[1]})"),
      R"({"version":1.0,"id":3.5,"type":"ping"})",
  };
  for (const std::string& request : accepted) {
    SCOPED_TRACE(request);
    const HostJson reply = HostJson::parse(AnswerRequest(request, HostSetup()), nullptr, false);
    EXPECT_EQ(Outcome(reply), "ok") << reply.dump();
  }
}

TEST(HostReplies, RoundTripThroughTheFraming) {
  const std::string reply = Reply(R"(
      "body": "Hi\n\nOn 12/7/26 10:15 AM, Ann Lee wrote:\n> Hello Bob, a line long enough to be wrapped at the column\n> \n> Ann\n\n-- \nBob\n",
      "sender": {"name": "Ann Lee", "mail": "ann.lee@example.com"},
      "options": {"wrapColumn": 40, "quoteChar": "|", "cursorAtTop": 0})");
  const std::string unchanged = R"({"version":1,"id":4,"type":"reply","body":"no attribution\nhere"})";
  const std::string attribution =
      R"({"version":1,"id":5,"type":"attribution","sender":{"name":"Ann Lee","mail":"ann.lee@example.com"},"options":{"headerStyle":)";
  const Session session =
      RunSession(Frame(reply) + Frame(unchanged) + Frame(kPing) + Frame(attribution + "1}}") +
                 Frame(attribution + "2}}") + Frame(attribution + R"(4,"customHeader":"%n <%m>\\nwrote:"}})") +
                 Frame(attribution + "3}}") + Frame(attribution + "0}}"));
  ASSERT_EQ(session.replies.size(), 8u);

  // The quote re-wrapped with its new character, without trailing blanks; the
  // final line feed kept and counted as the start of an empty line.
  const HostJson& rewritten = session.replies[0];
  EXPECT_EQ(rewritten["id"], 3);
  EXPECT_EQ(rewritten["result"], 0);
  EXPECT_EQ(
      rewritten["body"],
      "Ann Lee wrote:\n| Hello Bob, a line long enough to be\n| wrapped at the column\n|\n| Ann\n\n-- \nBob\n\nHi\n");
  EXPECT_EQ(rewritten["cursorLines"], 1);
  EXPECT_EQ(rewritten["cursorAtTop"], false);

  const HostJson& left = session.replies[1];
  EXPECT_EQ(left["result"], 1);
  EXPECT_FALSE(left.contains("body"));

  EXPECT_EQ(session.replies[2]["program"], "kelvane-host " + std::string(KELVANE_VERSION));

  const char* const attributions[] = {
      "Ann Lee wrote:", "Ann Lee <ann.lee@example.com> wrote:", "Ann Lee <ann.lee@example.com>\nwrote:", ""};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(session.replies[3 + i]["attribution"], attributions[i]) << i;
  // The style that keeps Thunderbird's own line gives none.
  EXPECT_EQ(Outcome(session.replies[7]), "ok");
  EXPECT_FALSE(session.replies[7].contains("attribution"));
}

}  // namespace
