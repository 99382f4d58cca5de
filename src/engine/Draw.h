// Shared by the drawing files: the state-dependent parts of a draw and the
// submission of textured and plain geometry to the video device.
#pragma once

#include "Backend.h"
#include "Headless.h"
#include "Images.h"

namespace engine {

// True when draws should reach the device: the engine is up, the backend is
// not the headless one, and the clip rectangle is not empty.
bool DeviceDrawWanted();

// Records a draw when headless, stamping it with the current blend mode,
// brightness and clip rectangle.
void RecordDraw(headless::DrawCall call);

// Alpha a vertex carries under the current blend mode: the parameter, or
// full for mode 0.
uint8_t BlendAlpha();

// Draws the image rectangle (u0, v0)-(u1, v1), in pixels of the image,
// onto the screen quad xs/ys (corners top-left, top-right, bottom-right,
// bottom-left), with the current blend mode and brightness.
void SubmitImageQuad(const ImageRef& image, const float xs[4], const float ys[4], float u0,
                     float v0, float u1, float v1, bool transparent);

// Plain-colour triangles with the current blend mode (no brightness: that
// applies to images only).
void SubmitColourTriangles(const Vertex* vertices, int vertexCount, const int* indices,
                           int indexCount);

// The facade colour value as a vertex colour with the current blend alpha.
Vertex ColourVertex(int color, float x, float y);

// Whether SelectBackBuffer has been called: before it, a picture drawn with
// DrawImageFile is shown at once.
bool BackBufferSelected();

}  // namespace engine
