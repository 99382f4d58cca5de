// Placeholder realisations, removed as sound and models are built.
#include "Backend.h"
#include "Engine.h"

namespace engine {
std::unique_ptr<AudioDevice> MakeSdlAudio() { return MakeHeadlessAudio(); }
void ReleaseModels() {}
}  // namespace engine

void SetSoundLoadMode(int) {}
int LoadSound(const char*) { return -1; }
int PlaySoundHandle(int, int, bool) { return -1; }
int StopSoundHandle(int) { return -1; }
int IsSoundPlaying(int) { return -1; }
int SetSoundVolume(int, int) { return -1; }
int SetSoundLoopPoint(int64_t, int) { return -1; }
int DeleteSound(int) { return -1; }
int DeleteAllSounds() { return 0; }
int LoadModelFile(const char*) { return -1; }
int DeleteModel(int) { return -1; }
Matrix4 MatrixTranslate(float, float, float) { return {}; }
Matrix4 MatrixScale(float, float, float) { return {}; }
Matrix4 MatrixRotateAxis(Vector3, float) { return {}; }
Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4&) { return a; }
int SetModelMatrix(int, const Matrix4&) { return -1; }
void SetOrthoCamera(float) {}
int DrawModel(int) { return -1; }
