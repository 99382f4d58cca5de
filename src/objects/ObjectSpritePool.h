// A fixed pool of sprites that gameplay objects borrow while they are in
// play. Every sprite is created at once in one layer (which owns it); a
// sprite is free while its idle flag is set. Objects take the first free
// sprite in creation order, so the same objects get the same sprites from
// one run of a replay to the next.
#pragma once

#include <cstdint>
#include <vector>

#include "display/GObject.h"

template <class S>
class ObjectSpritePool {
 public:
  std::vector<S*> sprites;  // owned by the layer they were created in

  // Creates count sprites in layer, idle and hidden.
  void fill(Viewport* layer, int32_t count) {
    sprites.reserve(sprites.size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
      S* sprite = new S(layer);
      sprite->idle = true;
      sprite->visible = false;
      sprites.push_back(sprite);
    }
  }

  // The first free sprite, now in use; null when every one is taken.
  S* take() {
    for (S* sprite : sprites) {
      if (sprite->idle) {
        sprite->idle = false;
        return sprite;
      }
    }
    return nullptr;
  }

  // One update of every sprite in use, in creation order.
  void updateInUse() {
    for (S* sprite : sprites) {
      if (!sprite->idle) sprite->update();
    }
  }

  int32_t inUse() const {
    int32_t n = 0;
    for (const S* sprite : sprites) n += sprite->idle ? 0 : 1;
    return n;
  }
};
