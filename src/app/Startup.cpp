// Engine start-up, in the order the window and the data tree need it:
// window settings before the engine opens, archive settings right after.
#include "app/Startup.h"

#include "app/Sjis.h"
#include "engine/Engine.h"

int StartEngine() {
  const std::string caption = Sjis("スクリーン設定");
  const std::string question = Sjis("フルスクリーンモードで起動しますか？");
  // Full screen is the engine's default; only "No" needs a call.
  if (!AskYesNo(caption.c_str(), question.c_str())) ChangeWindowMode(true);
  SetScreenMode(640, 480, 32, 60);
  SetWindowIcon(101);
  EnableEngineLog(false);
  SetWindowTitle(Sjis("Velmora 体験版").c_str());
  SetRunWhenInactive(true);
  SetTextureFilter(2);
  if (EngineInit() == -1) return -1;

  SetArchiveExtension("dat");
  SetArchiveKey("qtvz@R27");
  // Straight to the visible screen: it stays up while everything loads.
  DrawImageFile(0, 0, "Graphics/loading.png", false);
  SelectBackBuffer();
  return 0;
}
