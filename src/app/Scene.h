// Base of every screen of the game. A scene is constructed by its
// predecessor (constructors only set fields), started, updated once per
// frame until it clears running, terminated, and deleted by the entry point.
#pragma once

class Scene {
 public:
  Scene* next = nullptr;  // successor; null ends the program
  bool running = false;
  bool leaving = false;  // chosen, waiting for the closing fade

  Scene() = default;
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;
  virtual void update() {}
  virtual void start() {}
  virtual void terminate() {}
  virtual ~Scene() = default;

 protected:
  // How every menu scene closes: remember the successor (null ends the
  // program), request the decide sound, and start covering the screen.
  void BeginLeaving(Scene* successor);
  // While leaving: ends the scene once the closing fade has finished.
  // Returns true while leaving, so update reads no input meanwhile.
  bool ContinueLeaving();
  // The opening fade every menu scene starts with.
  static void BeginOpeningFade();
};
