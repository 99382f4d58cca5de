#include "stage/DemoEvent.h"

#include <cstdio>

#include "app/Module_Sound.h"
#include "display/Sprite.h"
#include "display/Sprite_String.h"
#include "engine/Engine.h"

void DemoEvent::runCommand(int32_t type, const std::string& data) {
  const int32_t n = Number(data);
  Sprite_MessageWindow* window = view_.messageWindow;
  switch (type) {
    case 1:
    case 2:
      ClearWindow(window, type == 1);
      return;
    case 3:
      messageTime = n;
      return;
    case 4:
      noKeyMessages = n != 0;
      return;
    case 6:
      waitTime = n;
      view_.waitingForTime = 1;
      return;
    case 10:
      speakerName = data;
      return;
    case 11:
      messageText = data;
      ShowMessage(window);
      view_.waitingForMessage = 1;
      return;
    case 15:
      showPicture(n);
      return;
    case 20:
      gSound.PlayMusic(n);
      return;
    default:
      return;
  }
}

void DemoEvent::showPicture(int32_t n) {
  Sprite* picture = view_.picture;
  if (!picture) return;
  if (picture->image > 0) DeleteImage(picture->image);
  picture->image = 0;
  if (n < 1) return;
  char path[64];
  std::snprintf(path, sizeof path, "Graphics/demo%d.png", static_cast<int>(n));
  const int handle = LoadImageFile(path);
  // A missing picture draws nothing; the talk goes on.
  picture->image = handle > 0 ? handle : 0;
}
