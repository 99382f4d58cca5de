#include "stage/Spriteset_ScoreBoard.h"

#include "app/Module_Game.h"
#include "app/Resources.h"
#include "engine/Engine.h"
#include "objects/Object.h"
#include "objects/Object_Boss.h"
#include "objects/Object_Player.h"

namespace {
constexpr int32_t kValueX = 90;
constexpr int32_t kIconSpacing = 16;  // item tiles are 16 wide
constexpr int32_t kIconSlots = 7;     // the panel has room for seven
constexpr int32_t kLifeIconCell = 2;
constexpr int32_t kBombIconCell = 3;
constexpr int32_t kGaugeLowCharge = 3500;  // below this a charge cannot start
constexpr int32_t kGaugeNearBottom = 48;
constexpr int32_t kCardEnd = 420;

const char* const kLabelTexts[6] = {"HiScore", "Score", "Life", "Bomb", "Power", "Point"};
constexpr int32_t kLabelRows[6] = {0, 28, 86, 114, 142, 170};

Sprite_String* PanelText(Viewport* panel, int32_t x, int32_t y) {
  auto* text = new Sprite_String(panel);
  text->x = x;
  text->y = y;
  return text;
}

Sprite_String* CardText(Viewport* overlay, int32_t x, int32_t y, int32_t width) {
  auto* text = new Sprite_String(overlay);
  text->x = x;
  text->y = y;
  text->width = width;
  text->align = 1;
  text->blendMode = BLEND_ALPHA;
  text->visible = false;
  return text;
}

int32_t Alpha(double value) { return static_cast<int32_t>(value); }

// The shared timeline of both title cards at clock c; line 1 slides in only
// on the stage card.
void RunCard(Sprite_String& line1, Sprite_String& line2, int32_t c, bool slideLine1) {
  if (c < 30) {
    if (slideLine1) line1.x = 67 + c;
    line1.blendParam = Alpha(c * 8.5);
  } else if (c < 90) {
    if (slideLine1) line1.x = 96;
    line1.blendParam = 255;
  } else if (c < 120) {
    line2.y = 299 - c;
    line2.blendParam = Alpha((c - 90) * 8.5);
  } else if (c < 360) {
    line2.y = 180;
    line2.blendParam = 255;
  } else if (c < kCardEnd) {
    line2.blendParam = Alpha((kCardEnd - c) * 4.25);
    line1.blendParam = line2.blendParam;
  } else if (c == kCardEnd) {
    line1.visible = false;
    line2.visible = false;
  }
}
}  // namespace

Spriteset_ScoreBoard::Spriteset_ScoreBoard() {
  panel = new Viewport(430, 40, 210, 440, 10);
  overlay = new Viewport(32, 16, kFieldWidth, kFieldHeight, 2000);
  hiScoreValue = PanelText(panel, kValueX, kLabelRows[0]);
  scoreValue = PanelText(panel, kValueX, kLabelRows[1]);
  powerValue = PanelText(panel, kValueX, kLabelRows[4]);
  pointValue = PanelText(panel, kValueX, kLabelRows[5]);
  for (int i = 0; i < 6; ++i) {
    labels[i] = PanelText(panel, 0, kLabelRows[i]);
    labels[i]->text = kLabelTexts[i];
  }
  lifeIcons = new Sprite_IconBar(panel);
  lifeIcons->x = kValueX;
  lifeIcons->y = 90;
  bombIcons = new Sprite_IconBar(panel);
  bombIcons->x = kValueX;
  bombIcons->y = 118;
  for (Sprite_IconBar* icons : {lifeIcons, bombIcons}) {
    icons->spacing = kIconSpacing;
    icons->maxSlots = kIconSlots;
  }

  chargeGauge = new Sprite_Bar(overlay);
  chargeGauge->x = 0;
  chargeGauge->y = 416;
  chargeGauge->blendMode = BLEND_ALPHA;
  chargeGauge->fillX = 8;
  chargeGauge->fillY = 14;
  chargeGauge->fillWidth = 112;
  chargeGauge->fillHeight = 8;
  chargeGauge->maximum = kChargeGaugeMax;

  bossName = new Sprite_String(overlay);
  bossName->x = 10;
  bossName->y = 15;
  bossName->visible = false;
  bossBar = new Sprite_Bar(overlay);
  bossBar->x = 8;
  bossBar->y = 5;
  bossBar->fillWidth = 368;
  bossBar->fillHeight = 8;
  bossBar->maximum = 1;
  bossBar->visible = false;

  stageTitle1 = CardText(overlay, 92, 150, 200);
  stageTitle2 = CardText(overlay, 42, 180, 300);
  bossTitle1 = CardText(overlay, 42, 150, 300);
  bossTitle2 = CardText(overlay, 42, 180, 300);

  difficultyLabel = PanelText(panel, 0, 340);
  difficultyLabel->align = 1;
  difficultyLabel->width = 180;
  difficultyLabel->edgeColour = TextColour{255, 0, 50};
}

Spriteset_ScoreBoard::~Spriteset_ScoreBoard() {
  delete panel;
  delete overlay;
}

void Spriteset_ScoreBoard::setUpFontsAndLabels() {
  for (Sprite_String* text :
       {hiScoreValue, scoreValue, powerValue, pointValue, labels[0], labels[1], labels[2],
        labels[3], labels[4], labels[5], difficultyLabel}) {
    text->image = FontTrebuchet25;
    text->outline = true;
  }
  lifeIcons->image = ItemImages[kLifeIconCell];
  bombIcons->image = ItemImages[kBombIconCell];
  chargeGauge->image = ChargeBarImage;
  chargeGauge->backImage = ChargeBaseImages[0];
  chargeGauge->frontImage = ChargeBaseImages[1];
  bossBar->image = HpBarImage;
  bossName->image = FontTrebuchet18Italic;
  bossName->outline = true;
  stageTitle1->image = FontFranklin25;
  stageTitle2->image = FontMincho30;
  bossTitle1->image = FontPGothic15;
  bossTitle2->image = FontMincho30;
  for (Sprite_String* card : {stageTitle1, stageTitle2, bossTitle1, bossTitle2}) {
    card->outline = true;
  }
  difficultyLabel->text = DifficultyText(gGame.difficulty);
}

void Spriteset_ScoreBoard::showBossName(int32_t number, bool show) {
  if (number >= 1 && number <= 14) bossName->text = BossNameText(number);
  bossName->visible = show;
  bossBar->visible = show;
}

void Spriteset_ScoreBoard::showStageTitle() {
  const int32_t stage = gGame.stage;
  if (stage >= 1 && stage <= 7) {
    stageTitle1->text = StageTitleLine(stage, 1);
    stageTitle2->text = StageTitleLine(stage, 2);
  }
  stageTitleClock = 0;
  for (Sprite_String* line : {stageTitle1, stageTitle2}) {
    line->visible = true;
    line->blendParam = 0;
  }
}

int BossCardNameFace(const std::string& name) {
  return MeasureText(name.c_str(), FontMincho30) <= kFieldWidth ? FontMincho30 : FontGothic20;
}

void Spriteset_ScoreBoard::showBossTitle() {
  const int32_t stage = gGame.stage;
  if (stage >= 1 && stage <= 7) {
    bossTitle1->text = BossTitleLine(stage, 1);
    bossTitle2->text = BossTitleLine(stage, 2);
  }
  bossTitle2->image = BossCardNameFace(bossTitle2->text);
  bossTitleClock = 0;
  for (Sprite_String* line : {bossTitle1, bossTitle2}) {
    line->visible = true;
    line->blendParam = 0;
  }
}

void Spriteset_ScoreBoard::update() {
  if (player) {
    const Object_Player& p = *player;
    hiScoreValue->text = ScoreText(gGame.hiScore);
    scoreValue->text = ScoreText(gGame.score);
    lifeIcons->count = p.lives;
    bombIcons->count = p.bombs;
    powerValue->text = PowerText(p.power);
    pointValue->text = std::to_string(p.points);
    chargeGauge->value = p.chargeGauge;
    // Translucent while the ship flies over it.
    chargeGauge->blendParam = kFieldHeight - p.y < kGaugeNearBottom ? 130 : 255;
    const bool ready = p.chargeGauge >= kGaugeLowCharge;
    chargeGauge->red = 255;
    chargeGauge->green = ready ? 255 : 100;
    chargeGauge->blue = ready ? 255 : 100;
  }
  if (boss) {
    bossBar->maximum = boss->maxHitPoints;
    bossBar->value = boss->hitPoints;
    if (boss->hitPoints <= 0) {
      bossName->visible = false;
      bossBar->visible = false;
    }
  }
  if (stageTitle1->visible) {
    RunCard(*stageTitle1, *stageTitle2, stageTitleClock, true);
    stageTitleClock += 1;
  }
  if (bossTitle1->visible) {
    RunCard(*bossTitle1, *bossTitle2, bossTitleClock, false);
    bossTitleClock += 1;
  }
}
