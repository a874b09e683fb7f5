#pragma once

namespace sweepdraw {

class DrawingSurface;

// The pictures. Each is one fixed sequence of operations on the surface it is
// given, adding to what is there; each throws RuntimeError as soon as an
// operation fails, leaving what was drawn before.

// A yellow frame round the drawing area and a ridge whose swing grows from
// left to right, drawn in colours 14, 13, 12 and 11. Leaves pen width 3.
void DrawMountains(DrawingSurface &surface);

// Four horizontal strokes centred on x = 8350, widest at the top, drawn in
// colours 14 down to 10. Leaves pen width 2.
void DrawWater(DrawingSurface &surface);

// A sun about (8000, 2000): a yellow ring, a red disc inside it, and 32 rays
// growing outward together, drawn in colours 9 up to 14. Leaves pen width 1.
void DrawSunshine(DrawingSurface &surface);

// A large purple arch over a row of six small arches, the small ones drawn in
// colours 9 up to 14. Leaves pen width 2.
void DrawBridge(DrawingSurface &surface);

} // namespace sweepdraw
