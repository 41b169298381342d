#include "client/reply.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using client::interpret_reply;
using client::Reply;

TEST(ReplyTest, LastDialTimeFollowsTheCodeOrStandsAloneWhileTheLinkIsNotClassified) {
    for (const std::string time : {"9:05pm", "12:00am", "1:59am", "10:30pm"}) {
        const Reply reply = interpret_reply("STATUS-CONNSIGOK" + time);
        EXPECT_EQ(reply.kind, Reply::Kind::status) << time;
        EXPECT_EQ(reply.last_dial, time);
        EXPECT_EQ(describe(reply), "online, signal present, last dial " + time);
    }
    const Reply dialed = interpret_reply("7:15am");
    EXPECT_EQ(dialed.kind, Reply::Kind::status_not_known);
    EXPECT_EQ(describe(dialed), "status not known yet, last dial 7:15am");
    EXPECT_EQ(arrival_line(dialed), "status: status not known yet, last dial 7:15am");
}

TEST(ReplyTest, TextsThatAreNoReplyAreNotUnderstood) {
    for (const std::string text : {
             "",
             "STATUS",
             "STATUS-CONNSIGOK",  // the time is never missing
             "STATUS-CONNSIGOKNA",
             "STATUS-CONNSIGOKna\r\n",
             "STATUS-CONNSIGOK9:05PM",
             "STATUS-CONNSIGOK09:05pm",
             "STATUS-CONNSIGOK13:05pm",
             "STATUS-CONNSIGOK9:60pm",
             "STATUS-CONNSIGOK9:5pm",
             "STATUS-CONNSIGOK123:05pm",
             "STATUS-NOSUCHONEna",
             "status-connsigokna",
             " STATUS-CONNSIGOKna",
             "message",
         }) {
        EXPECT_EQ(interpret_reply(text).kind, Reply::Kind::not_understood)
            << ::testing::PrintToString(text);
    }
}

TEST(ReplyTest, ReceivedTextIsShownOnItsLinesWithTerminalControlsDefused) {
    const Reply reply = interpret_reply("what\r\nis\nthis");
    EXPECT_EQ(describe(reply), "\"what?is?this\"");
    EXPECT_EQ(arrival_line(reply), "not understood: \"what?is?this\"");

    const Reply defused = interpret_reply("MESSAG\x1B[2Jhi\x07\tthere\x7F\x81\x9D\x9C");
    EXPECT_EQ(describe(defused), "?[2Jhi?\tthere???œ");
    // Raw output is for those who asked for the bytes as they came.
    EXPECT_EQ(raw_text(defused), "MESSAG\x1B[2Jhi\x07\tthere\x7F\u0081\u009D\u0153");
}

TEST(ReplyTest, MessagesAreConvertedFromWindows1252AndLaterLinesIndented) {
    const Reply reply = interpret_reply(
        "MESSAGGr\xFC\xDF"
        "e \x80 5");
    EXPECT_EQ(reply.kind, Reply::Kind::message);
    EXPECT_EQ(reply.message, "Grüße € 5");
    EXPECT_EQ(describe(reply), "Grüße € 5");
    EXPECT_EQ(arrival_line(reply), "message: Grüße € 5");

    const Reply empty = interpret_reply("MESSAG");
    EXPECT_EQ(empty.kind, Reply::Kind::message);
    EXPECT_EQ(empty.message, "");

    const Reply lines = interpret_reply("MESSAGfirst\r\nsecond\rthird\nfourth");
    EXPECT_EQ(lines.message, "first\r\nsecond\rthird\nfourth");
    EXPECT_EQ(describe(lines), "first\nsecond\nthird\nfourth");
    EXPECT_EQ(arrival_line(lines), "message: first\n  second\n  third\n  fourth");
}

}  // namespace
