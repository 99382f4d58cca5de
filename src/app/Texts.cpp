#include "app/Texts.h"

#include "app/Sjis.h"

namespace {

// UTF-8 here, game text on screen.
struct Pair {
  const char* japanese;
  const char* english;
};

constexpr Pair kTexts[] = {
    {"スクリーン設定", "Screen mode"},
    {"フルスクリーンモードで起動しますか？", "Start in full-screen mode?"},
    {"Velmora 体験版", "Velmora Trial"},

    {"シューティング初心者用の難易度です", "For newcomers to shooting games"},
    {"ゲーム好きな方用の難易度です", "For players who love their games"},
    {"『ヒト』の本気を味わえる難易度です", "See what a 'human' can do in earnest"},
    {"すべてを越えた方だけが挑める特別な難易度です", "Only for those who have overcome all"},

    {"難易度", "Difficulty"},
    {"チャージタイプ", "Charge type"},
    {"スコア", "Score"},
    {"敵撃破数", "Enemies destroyed"},
    {"総取得アイテム数", "Items collected"},
    {"かすり回数", "Grazes"},
    {"敵弾消去回数", "Bullets erased"},
    {"ボム使用回数", "Bombs used"},
    {"ミス回数", "Misses"},
    {"コンティニュー回数", "Continues"},
    {"プレイ時間", "Play time"},

    // The Japanese labels are padded to 14 bytes so the values line up.
    {"information", "information"},
    {"難易度        ", "Difficulty"},
    {"達成度        ", "Progress"},
    {"チャージタイプ", "Charge type"},
    {"スコア        ", "Score"},
    {"ボム使用回数  ", "Bombs used"},
    {"ミス回数      ", "Misses"},
    {"コンティニュー", "Continues"},
    {"点", " pts"},
    {"回", ""},

    {"リプレイを保存しますか？", "Save the replay?"},
    {"はい", "Yes"},
    {"いいえ", "No"},
    {"%s に保存しました", "Saved as %s"},
    {"%s を保存できませんでした", "Could not save %s"},
};
static_assert(std::size(kTexts) == static_cast<size_t>(UiText::Count));

struct CardLines {
  Pair line1;
  Pair line2;
};

// Stages 1 to 6, then the Extra stage. The English lines are kept short:
// line 1 has 200 pixels, line 2 300 in a large face. On the boss cards an
// epithet too long for the large face goes with the small first line; a
// name itself too long takes a smaller face (BossCardNameFace).
constexpr CardLines kStageCards[7] = {
    {{"STAGE  1", "STAGE  1"}, {"「冥王星独立決戦基地」", "Pluto Battle Base"}},
    {{"STAGE  2", "STAGE  2"}, {"「土星環状巨大基地」", "Saturn Ring Base"}},
    {{"STAGE  3", "STAGE  3"}, {"「月面最終防衛ライン」", "Last Lunar Line"}},
    {{"STAGE  4", "STAGE  4"}, {"「青き星」", "The Blue Star"}},
    {{"STAGE  5", "STAGE  5"}, {"「次元道」", "Dimension Road"}},
    {{"STAGE  6", "STAGE  6"}, {"「蒼い星」", "The Azure Star"}},
    {{"Extra Stage", "Extra Stage"}, {"「天」", "Heaven"}},
};

constexpr CardLines kBossCards[7] = {
    {{"対調整者用局地型戦術兵器", "Anti-Regulator Local Tactical Weapon"}, {"「グラム」", "Gram"}},
    {{"対調整者用専守防衛型戦術兵器", "Anti-Regulator Defensive Tactical Weapon"},
     {"「サターン」", "Saturn"}},
    {{"第三模倣神器", "Third Imitation Artifact: Night Emperor"},
     {"夜皇「ツクヨミ」", "Tsukuyomi"}},
    {{"第二模倣神器", "Second Imitation Artifact: Star Ark"},
     {"星櫃「セカンドガイア」", "Second Gaia"}},
    {{"第四模倣神器", "Fourth Imitation Artifact: Utmost Blade"}, {"極刀「クサナギ」", "Kusanagi"}},
    {{"第一模倣神器", "First Imitation Artifact: Azure Star"}, {"蒼星「ガイア」", "Gaia"}},
    {{"第四天調整者", "Regulator of the Fourth Heaven"},
     {"「アングラマインユ・アフラマズダ」", "AngraMainyu AhuraMazda"}},
};

std::string InLanguage(const Pair& pair, Language language) {
  return Sjis(language == Language::English ? pair.english : pair.japanese);
}

std::string CardLine(const CardLines* cards, int32_t stage, int line, Language language) {
  if (stage < 1 || stage > 7 || (line != 1 && line != 2)) return {};
  const CardLines& card = cards[stage - 1];
  return InLanguage(line == 1 ? card.line1 : card.line2, language);
}

}  // namespace

std::string GameText(UiText id, Language language) {
  const auto index = static_cast<size_t>(id);
  if (index >= std::size(kTexts)) return {};
  return InLanguage(kTexts[index], language);
}

std::string GameTextWith(UiText id, const std::string& value, Language language) {
  std::string text = GameText(id, language);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

std::string StageCardLine(int32_t stage, int line, Language language) {
  return CardLine(kStageCards, stage, line, language);
}

std::string BossCardLine(int32_t stage, int line, Language language) {
  return CardLine(kBossCards, stage, line, language);
}
