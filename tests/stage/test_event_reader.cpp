// The conversation file reader as a conversation steps through it: header
// lines, CR LF lines, comments, overlong columns, broken files, and the
// Easy cut-off.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Module_Game.h"
#include "app/Sjis.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "stage/TalkEvent.h"
#include "support/TempWorkDir.h"

namespace {

using Command = std::pair<int32_t, std::string>;

// Writes down every command instead of running it, except the ones that
// only touch the conversation itself.
class RecordingTalk : public TalkEvent {
 public:
  std::vector<Command> commands;
  void runCommand(int32_t type, const std::string& data) override {
    commands.emplace_back(type, data);
    TalkEvent::runCommand(type, data);
  }
};

const std::string kHeaders = "type,data\r\n// who speaks when\r\n";

class EventReader : public ::testing::Test {
 protected:
  RecordingTalk talk;

  void SetUp() override { gGame = Module_Game(); }

  void load(const std::string& bytes) {
    talk.startFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  // Steps until finished (bounded, so a reader that never ends fails).
  int runToEnd() {
    int steps = 0;
    while (!talk.finished && steps < 1000) {
      talk.step();
      ++steps;
    }
    return steps;
  }
};

TEST_F(EventReader, ReadsOneCommandLinePerStepAfterTheHeaders) {
  load(kHeaders + "10,Mira\r\n11,Contact in three\r\n2,\r\n");
  EXPECT_EQ(talk.lineCount, 0);
  talk.step();
  EXPECT_EQ(talk.lineCount, 3);
  ASSERT_EQ(talk.commands.size(), 1u);
  EXPECT_EQ(talk.commands[0], Command(10, "Mira"));
  EXPECT_EQ(talk.speakerName, "Mira");
  talk.step();
  EXPECT_EQ(talk.lineCount, 4);
  EXPECT_EQ(talk.commands[1], Command(11, "Contact in three"));
  EXPECT_FALSE(talk.finished);
  // The last line runs and ends the conversation in the same step.
  talk.step();
  EXPECT_EQ(talk.commands[2], Command(2, ""));
  EXPECT_TRUE(talk.finished);
  EXPECT_EQ(talk.fileOpen, 0);
  talk.step();
  EXPECT_EQ(talk.commands.size(), 3u);
}

TEST_F(EventReader, FileWithOnlyHeadersFinishesOnTheFirstStep) {
  load(kHeaders);
  EXPECT_FALSE(talk.finished);
  talk.step();
  EXPECT_TRUE(talk.finished);
  EXPECT_EQ(talk.lineCount, 2);
}

TEST_F(EventReader, CommentLineIsSkippedWithoutCountingALine) {
  load(kHeaders + "3,120\r\n// the pilot hesitates here\r\n4,1\r\n11,x\r\n");
  talk.step();
  talk.step();
  EXPECT_EQ(talk.lineCount, 4);
  EXPECT_EQ(talk.commands[1], Command(4, "1"));
  EXPECT_EQ(talk.messageTime, 120);
  EXPECT_EQ(talk.noKeyMessages, 1);
}

TEST_F(EventReader, SlashInsideDataTakesTheColumnOnToTheNextLine) {
  // Comments belong on lines of their own: here the data column continues
  // with the next line's first column.
  load(kHeaders + "10,Ilse/ a note\r\n2,\r\n");
  talk.step();
  EXPECT_EQ(talk.commands[0], Command(10, "2"));
  runToEnd();
  EXPECT_TRUE(talk.finished);
}

TEST_F(EventReader, LastLineWithoutLineEndStillRuns) {
  load(kHeaders + "10,A\r\n11,B");
  runToEnd();
  ASSERT_EQ(talk.commands.size(), 2u);
  EXPECT_EQ(talk.commands[1], Command(11, "B"));
  load(kHeaders + "2");
  talk.commands.clear();
  talk.step();
  ASSERT_EQ(talk.commands.size(), 1u);
  EXPECT_EQ(talk.commands[0], Command(2, ""));
  EXPECT_TRUE(talk.finished);
}

TEST_F(EventReader, OverlongColumnIsCutAndItsRestReadAsTheNextColumn) {
  const std::string longText(300, 'a');
  load(kHeaders + "11," + longText + "\r\n10,B\r\n");
  talk.step();
  ASSERT_EQ(talk.commands.size(), 1u);
  EXPECT_EQ(talk.commands[0].second, std::string(255, 'a'));
  // The 44 characters left over make a line of type 0; the reader then
  // finds its way back to the line ends and the conversation ends.
  const int steps = runToEnd();
  EXPECT_LE(steps, 3);
  EXPECT_TRUE(talk.finished);
  EXPECT_EQ(talk.commands[1], Command(0, "10"));
}

TEST_F(EventReader, ColumnOfExactly255CharactersIsKeptWhole) {
  const std::string text(255, 'q');
  load(kHeaders + "11," + text + "\r\n2,\r\n");
  talk.step();
  EXPECT_EQ(talk.commands[0].second, text);
  talk.step();
  EXPECT_EQ(talk.commands[1], Command(2, ""));
}

TEST_F(EventReader, BrokenFilesEndTheConversation) {
  const std::vector<std::string> broken = {
      "",                                                   // empty
      "just one header without a line end",                 // no line ends at all
      "h1\nh2\n11,lf only\n10,x\n2,\n",                     // line feeds only
      kHeaders + std::string(500, ','),                     // commas only
      kHeaders + std::string(3000, '/'),                    // slashes only
      kHeaders + "11," + std::string(70000, 'z'),           // one huge column
      kHeaders + "99,unknown\r\n-4,x\r\n77777777777,\r\n",  // unknown commands
  };
  for (const std::string& bytes : broken) {
    load(bytes);
    talk.commands.clear();
    const int steps = runToEnd();
    EXPECT_TRUE(talk.finished) << bytes.substr(0, 40);
    EXPECT_LT(steps, 1000);
    for (const Command& c : talk.commands) EXPECT_LE(c.second.size(), 255u);
  }
}

TEST_F(EventReader, NumbersAreReadFromTheFrontOfTheData) {
  load(kHeaders + "3, 45 frames\r\n3,-20\r\n3,none\r\n");
  talk.step();
  EXPECT_EQ(talk.messageTime, 45);
  talk.step();
  EXPECT_EQ(talk.messageTime, -20);
  talk.step();
  EXPECT_EQ(talk.messageTime, 0);
}

TEST_F(EventReader, NulByteEndsTheText) {
  load(kHeaders + std::string("10,Ab\0cd\r\n2,\r\n", 14));
  talk.step();
  EXPECT_EQ(talk.speakerName, "Ab");
}

TEST_F(EventReader, JapaneseTextPassesThroughAsItsBytes) {
  const std::string name = Sjis("管制官ミラ");
  const std::string line = Sjis("冥王星の軌道を越えました。応答して。");
  ASSERT_EQ(name.size(), 10u);
  load(kHeaders + "10," + name + "\r\n11," + line + "\r\n");
  talk.step();
  talk.step();
  EXPECT_EQ(talk.speakerName, name);
  EXPECT_EQ(talk.commands[1].second, line);
}

TEST_F(EventReader, CommandHundredEndsTheTalkOnlyOnEasy) {
  const std::string bytes = kHeaders + "10,A\r\n100,\r\n10,B\r\n11,after\r\n";
  gGame.difficulty = DIFFICULTY_NORMAL;
  load(bytes);
  runToEnd();
  EXPECT_EQ(talk.commands.size(), 4u);
  EXPECT_EQ(talk.speakerName, "B");

  gGame.difficulty = DIFFICULTY_EASY;
  load(bytes);
  talk.commands.clear();
  talk.step();
  talk.step();
  EXPECT_TRUE(talk.finished);
  EXPECT_EQ(talk.commands.size(), 2u);
  EXPECT_EQ(talk.speakerName, "A");
}

TEST_F(EventReader, StartingAgainReadsFromTheTopWithDefaults) {
  load(kHeaders + "3,50\r\n4,1\r\n10,A\r\n");
  runToEnd();
  EXPECT_EQ(talk.messageTime, 50);
  load(kHeaders + "10,B\r\n");
  EXPECT_EQ(talk.messageTime, kDefaultMessageTime);
  EXPECT_EQ(talk.noKeyMessages, 0);
  EXPECT_EQ(talk.lineCount, 0);
  EXPECT_FALSE(talk.finished);
}

class EventFiles : public ::testing::Test {
 protected:
  TempWorkDir dir;
  RecordingTalk talk;
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    ASSERT_TRUE(dir.ok());
  }
  void TearDown() override { EngineEnd(); }
};

TEST_F(EventFiles, MissingFileIsFinishedFromTheStart) {
  talk.start(104);
  EXPECT_TRUE(talk.finished);
  EXPECT_EQ(talk.fileOpen, 0);
  EXPECT_EQ(talk.fileSize, 0);
  talk.step();
  EXPECT_TRUE(talk.commands.empty());
}

TEST_F(EventFiles, ConversationNumberPicksTheFile) {
  const std::string bytes = kHeaders + "10,Operator\r\n";
  WriteBytes("Data/Event/event3.csv", bytes);
  talk.start(3);
  EXPECT_FALSE(talk.finished);
  EXPECT_EQ(talk.fileSize, static_cast<int32_t>(bytes.size()));
  talk.step();
  EXPECT_EQ(talk.speakerName, "Operator");
  EXPECT_TRUE(talk.finished);
  // Starting another number closes the first and opens the second.
  WriteBytes("Data/Event/event4.csv", kHeaders + "10,Pilot\r\n11,x\r\n");
  talk.start(4);
  talk.step();
  EXPECT_EQ(talk.speakerName, "Pilot");
  EXPECT_FALSE(talk.finished);
  talk.start(5);
  EXPECT_TRUE(talk.finished);
}

}  // namespace
