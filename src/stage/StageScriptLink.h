// The stage timeline run against a stage scene: conversations, boss names,
// title cards and field fades go to the scene.
#pragma once

class Scene_Stage;

// One step of the scene's stage script (for gStageLinks.stepScript).
void StepStageScriptOf(Scene_Stage& stage);
