// WindowSystemSdl.cpp — the desktop's window system: SDL's own calls.
#include "WindowSystem.h"

namespace quarn::platform::windows {

SDL_Window* CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
  return ::SDL_CreateWindow(title, x, y, w, h, flags);
}
void DestroyWindow(SDL_Window* window) { ::SDL_DestroyWindow(window); }
Uint32 GetWindowID(SDL_Window* window) { return ::SDL_GetWindowID(window); }
Uint32 GetWindowFlags(SDL_Window* window) { return ::SDL_GetWindowFlags(window); }
void ShowWindow(SDL_Window* window) { ::SDL_ShowWindow(window); }
void HideWindow(SDL_Window* window) { ::SDL_HideWindow(window); }
void RaiseWindow(SDL_Window* window) { ::SDL_RaiseWindow(window); }
int SetWindowInputFocus(SDL_Window* window) { return ::SDL_SetWindowInputFocus(window); }
void SetWindowSize(SDL_Window* window, int w, int h) { ::SDL_SetWindowSize(window, w, h); }
void GetWindowSize(SDL_Window* window, int* w, int* h) { ::SDL_GetWindowSize(window, w, h); }
void SetWindowPosition(SDL_Window* window, int x, int y) { ::SDL_SetWindowPosition(window, x, y); }
void GetWindowPosition(SDL_Window* window, int* x, int* y) {
  ::SDL_GetWindowPosition(window, x, y);
}
void SetWindowTitle(SDL_Window* window, const char* title) { ::SDL_SetWindowTitle(window, title); }
SDL_Surface* GetWindowSurface(SDL_Window* window) { return ::SDL_GetWindowSurface(window); }
int UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
  return ::SDL_UpdateWindowSurfaceRects(window, rects, count);
}
int GetWindowDisplayIndex(SDL_Window* window) { return ::SDL_GetWindowDisplayIndex(window); }
int GetWindowBordersSize(SDL_Window* window, int* top, int* left, int* bottom, int* right) {
  return ::SDL_GetWindowBordersSize(window, top, left, bottom, right);
}
int SetWindowHitTest(SDL_Window* window, SDL_HitTest callback, void* data) {
  return ::SDL_SetWindowHitTest(window, callback, data);
}
int SetWindowFullscreen(SDL_Window* window, Uint32 flags) {
  return ::SDL_SetWindowFullscreen(window, flags);
}
SDL_bool GetWindowWMInfo(SDL_Window* window, SDL_SysWMinfo* info) {
  return ::SDL_GetWindowWMInfo(window, info);
}
int GetDisplayBounds(int display, SDL_Rect* rect) { return ::SDL_GetDisplayBounds(display, rect); }
int GetDisplayUsableBounds(int display, SDL_Rect* rect) {
  return ::SDL_GetDisplayUsableBounds(display, rect);
}
SDL_Window* GetMouseFocus() { return ::SDL_GetMouseFocus(); }
SDL_Window* GetKeyboardFocus() { return ::SDL_GetKeyboardFocus(); }
Uint32 GetMouseState(int* x, int* y) { return ::SDL_GetMouseState(x, y); }
Uint32 GetGlobalMouseState(int* x, int* y) { return ::SDL_GetGlobalMouseState(x, y); }
int PeepEvents(SDL_Event* events, int count, SDL_eventaction action, Uint32 minType,
               Uint32 maxType) {
  return ::SDL_PeepEvents(events, count, action, minType, maxType);
}
SDL_bool HasEvents(Uint32 minType, Uint32 maxType) { return ::SDL_HasEvents(minType, maxType); }
int ShowSimpleMessageBox(Uint32 flags, const char* title, const char* message, SDL_Window* window) {
  return ::SDL_ShowSimpleMessageBox(flags, title, message, window);
}
int ShowMessageBox(const SDL_MessageBoxData* data, int* pressed) {
  return ::SDL_ShowMessageBox(data, pressed);
}

}  // namespace quarn::platform::windows
