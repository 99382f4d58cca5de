// Engine start-up, in the order the window and the data tree need it:
// window settings before the engine opens, archive settings right after.
#include "app/Startup.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/GameFolders.h"
#include "app/Texts.h"
#include "engine/Engine.h"

namespace {

constexpr const char* kArchiveExtension = "dat";

// Without its data the game still runs, silently or with invisible
// sprites: say once what is missing, so a broken install is not a mystery.
void ReportMissingData(const std::string& dataFolder) {
  static const struct {
    const char* folder;
    const char* consequence;
  } kData[] = {{"Graphics", "no pictures"}, {"Sounds", "no sound"}, {"Data", "no stages"}};
  std::error_code ec;
  const std::string here =
      dataFolder.empty() ? std::filesystem::current_path(ec).string() : dataFolder;
  for (const auto& d : kData) {
    if (HoldsDataPart(here, d.folder)) continue;
    std::fprintf(stderr, "velmora: neither the folder %s/ nor the archive %s.%s is in %s: %s\n",
                 d.folder, d.folder, kArchiveExtension, here.c_str(), d.consequence);
  }
}

}  // namespace

int StartEngine(ScreenChoice screen, const std::string& dataFolder) {
  if (screen == ScreenChoice::Ask) {
    const std::string caption = GameText(UiText::ScreenQuestionCaption);
    const std::string question = GameText(UiText::ScreenQuestion);
    screen = AskYesNo(caption.c_str(), question.c_str()) ? ScreenChoice::FullScreen
                                                         : ScreenChoice::Windowed;
  }
  // Full screen is the engine's default; only a window needs a call.
  if (screen == ScreenChoice::Windowed) ChangeWindowMode(true);
  SetScreenMode(640, 480, 32, 60);
  SetWindowIcon(101);
  EnableEngineLog(false);
  SetWindowTitle(GameText(UiText::WindowTitle).c_str());
  SetRunWhenInactive(true);
  SetTextureFilter(2);
  if (EngineInit() == -1) return -1;

  SetArchiveExtension(kArchiveExtension);
  SetArchiveKey("qtvz@R27");
  ReportMissingData(dataFolder);
  // Straight to the visible screen: it stays up while everything loads.
  DrawImageFile(0, 0, "Graphics/loading.png", false);
  SelectBackBuffer();
  return 0;
}
