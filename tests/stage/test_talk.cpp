// Conversations inside a stage: how long messages stay, which keys move them
// on, timed waits, the Easy cut-off, and what the commands do to the stage.
#include "TalkFixture.h"

namespace {

TEST_F(TalkTest, MessageStaysForTheMessageTimeWithoutKeys) {
  startTalk(50, "1,\r\n10,Mira\r\n11,Hello\r\n2,\r\n");
  frame();
  Sprite_MessageWindow& window = *stage->messageWindow;
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.text, "Mira");
  EXPECT_EQ(window.line2, "Hello");
  EXPECT_EQ(stage->waitingForMessage, 1);
  frames(298);
  EXPECT_EQ(stage->waitingForMessage, 1);
  EXPECT_EQ(stage->waitCounter, 299);
  frame();  // the 300th frame
  EXPECT_EQ(stage->waitingForMessage, 0);
  EXPECT_EQ(stage->waitCounter, 0);
  // Acknowledged, still shown: the next line is read in the next frame.
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(stage->inConversation, 1);
  frame();
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(stage->inConversation, 0);
}

TEST_F(TalkTest, NoKeyMessagesIgnoreOkAndSkip) {
  startTalk(51, "4,1\r\n3,40\r\n11,one\r\n11,two\r\n");
  Hold(KEY_LCONTROL, true);
  int shownFor = 0;
  for (int i = 0; i < 200 && stage->messageWindow->line2 != "two"; ++i) {
    Hold(KEY_Z, i % 2 == 1);  // tapping OK all along
    frame();
    if (stage->messageWindow->line2 == "one") ++shownFor;
  }
  // 40 frames with the message waiting; the next appears the frame after.
  EXPECT_EQ(shownFor, 40);
  frames(38);
  EXPECT_EQ(stage->inConversation, 1);
  frame();
  EXPECT_EQ(stage->inConversation, 0);
}

TEST_F(TalkTest, HoldingSkipMovesOneMessagePerFrame) {
  startTalk(52, "10,Op\r\n11,m1\r\n11,m2\r\n11,m3\r\n11,m4\r\n11,m5\r\n");
  Hold(KEY_LCONTROL, true);
  for (int i = 1; i <= 5; ++i) {
    frame();
    EXPECT_EQ(stage->messageWindow->line2, "m" + std::to_string(i));
  }
  EXPECT_EQ(stage->inConversation, 0);
}

TEST_F(TalkTest, SkipButtonOfTheJoypadWorksLikeLeftCtrl) {
  startTalk(53, "11,m1\r\n11,m2\r\n11,m3\r\n");
  engine::headless::SetJoypad(static_cast<int>(gInput.buttonMask[BUTTON_SKIP]));
  frames(3);
  EXPECT_EQ(stage->messageWindow->line2, "m3");
  EXPECT_EQ(stage->inConversation, 0);
}

TEST_F(TalkTest, OkMustBePressedAnewForEachMessage) {
  startTalk(54, "11,a\r\n11,b\r\n11,c\r\n");
  frame();
  EXPECT_EQ(stage->waitingForMessage, 1);
  Hold(KEY_Z, true);
  frame();  // pressed: "a" goes
  EXPECT_EQ(stage->waitingForMessage, 0);
  frames(5);  // still held: "b" stays
  EXPECT_EQ(stage->messageWindow->line2, "b");
  EXPECT_EQ(stage->waitingForMessage, 1);
  Hold(KEY_Z, false);
  frame();
  Hold(KEY_Z, true);
  frame();
  frame();
  EXPECT_EQ(stage->messageWindow->line2, "c");
}

TEST_F(TalkTest, TimedWaitAfterAMessageIsNotShortenedByKeys) {
  startTalk(55, "10,Ren\r\n11,Go\r\n6,60\r\n11,next\r\n");
  frame();
  EXPECT_EQ(stage->messageWindow->text, "Ren");
  Hold(KEY_Z, true);
  frame();  // acknowledged
  Hold(KEY_Z, false);
  Hold(KEY_LCONTROL, true);
  frame();  // the wait starts
  EXPECT_EQ(stage->waitingForTime, 1);
  frames(58);
  EXPECT_EQ(stage->waitingForTime, 1);
  EXPECT_EQ(stage->messageWindow->line2, "Go");
  frame();  // 60 frames of waiting
  EXPECT_EQ(stage->waitingForTime, 0);
  Hold(KEY_LCONTROL, false);
  frame();
  EXPECT_EQ(stage->messageWindow->line2, "next");
}

TEST_F(TalkTest, CommandHundredEndsTheTalkOnEasyOnly) {
  const std::string lines = "10,A\r\n11,first\r\n100,\r\n10,B\r\n11,second\r\n";
  gGame.difficulty = DIFFICULTY_EASY;
  startTalk(56, lines);
  Hold(KEY_LCONTROL, true);
  frames(2);
  EXPECT_EQ(stage->inConversation, 0);
  EXPECT_EQ(stage->messageWindow->line2, "first");
  EXPECT_EQ(talk().speakerName, "A");

  gGame.difficulty = DIFFICULTY_NORMAL;
  startTalk(56, lines);
  frames(2);
  EXPECT_EQ(stage->messageWindow->text, "B");
  EXPECT_EQ(stage->messageWindow->line2, "second");
}

TEST_F(TalkTest, MissingFileEndsConversationModeInTheSameFrame) {
  stage->startConversation(199);
  EXPECT_EQ(stage->inConversation, 1);
  frame();
  EXPECT_EQ(stage->inConversation, 0);
  EXPECT_FALSE(stage->messageWindow->visible);
}

TEST_F(TalkTest, BrokenFilesLetTheStageGoOn) {
  const std::string bad[] = {"", "no line ends at all", "a\nb\n11,x\n",
                             std::string(20000, 'w') + "\r\n11," + std::string(600, 'v')};
  for (const std::string& bytes : bad) {
    WriteBytes("Data/Event/event60.csv", bytes);
    stage->startConversation(60);
    Hold(KEY_LCONTROL, true);
    frames(10);
    EXPECT_EQ(stage->inConversation, 0);
    EXPECT_LE(stage->messageWindow->line2.size(), 255u);
  }
}

TEST_F(TalkTest, CommandsDriveTheStage) {
  startTalk(57,
            "5,900\r\n12,0\r\n14,1\r\n21,7\r\n21,50\r\n23,30\r\n22,\r\n25,20\r\n11,x\r\n"
            "24,10\r\n14,5\r\n11,y\r\n");
  frame();
  EXPECT_EQ(stage->field->scriptClock, 900);
  EXPECT_EQ(stage->leftPortrait->image, 0);
  EXPECT_TRUE(stage->rightPortrait->highlighted);
  EXPECT_FALSE(stage->leftPortrait->highlighted);
  EXPECT_TRUE(gSound.seRequested[7]);
  const Sprite_Transition& fade = *stage->stageSprites->fieldFade;
  EXPECT_EQ(fade.target, 0);
  EXPECT_FLOAT_EQ(fade.speed, -8.5f);
  EXPECT_TRUE(stage->scoreBoard->bossTitle1->visible);
  EXPECT_FLOAT_EQ(gSound.fadeStep, -12.75f);
  EXPECT_EQ(gSound.fadeFrames, 20);

  Hold(KEY_LCONTROL, true);
  frames(2);
  EXPECT_EQ(fade.target, 255);
  EXPECT_FLOAT_EQ(fade.speed, 25.5f);
  EXPECT_FALSE(stage->rightPortrait->highlighted);
  EXPECT_FALSE(stage->leftPortrait->highlighted);
}

TEST_F(TalkTest, WindowStaysAfterTheTalkUntilHidden) {
  startTalk(58, "1,\r\n10,Kai\r\n11,Last words\r\n");
  Hold(KEY_LCONTROL, true);
  frame();
  EXPECT_EQ(stage->inConversation, 0);
  EXPECT_TRUE(stage->messageWindow->visible);
  EXPECT_EQ(stage->messageWindow->line2, "Last words");
}

// English beside Japanese: the English file where there is one, else the
// Japanese; a Japanese game never reads the English.
TEST_F(TalkTest, EnglishConversationsFallBackToTheJapanese) {
  WriteBytes("Data/Event/event21.csv", kTalkHeaders + "1,\r\n11,Japanese 21\r\n");
  WriteBytes("Data/Event/en/event21.csv", kTalkHeaders + "1,\r\n11,English 21\r\n");
  WriteBytes("Data/Event/event22.csv", kTalkHeaders + "1,\r\n11,Japanese 22\r\n");
  struct Case {
    Language language;
    int32_t number;
    const char* shown;
  };
  for (const Case& c :
       {Case{Language::English, 21, "English 21"}, Case{Language::English, 22, "Japanese 22"},
        Case{Language::Japanese, 21, "Japanese 21"}}) {
    gLanguage = c.language;
    stage->startConversation(c.number);
    frame();
    EXPECT_EQ(stage->messageWindow->line2, c.shown);
    // Skipped to its end before the next one starts.
    Hold(KEY_LCONTROL, true);
    frames(3);
    Hold(KEY_LCONTROL, false);
    ASSERT_EQ(stage->inConversation, 0);
  }
  gLanguage = Language::Japanese;
}

}  // namespace
