// WebDesktop.h — the browser's one canvas as a desktop for the game's several windows.
//
// In a browser SDL has a single canvas, while the game opens a start screen, a game screen,
// dialogs, help and the editor as windows of their own. In the browser build every SDL window
// call of the platform layer comes here instead (the macros below, included by the platform's
// own files only): each window of ours is a surface with a place on the desktop, and the desktop
// draws the shown ones onto the canvas from the bottom up, the active one on top, each centred as
// a desktop centres a new window, so that a dialog stands over the screen it belongs to. Pointer
// events go to the window under the pointer (or to the one that took the press), keys to the
// active one.
#pragma once

#ifdef __EMSCRIPTEN__

#include <SDL.h>
#include <SDL_syswm.h>

namespace quarn::platform::web {

// The desktop's size at the start: the editor, the game's widest window, fits on it. A window
// shown larger (a long help) makes the desktop grow to hold it while it is shown.
inline constexpr int StartWidth = 1024;
inline constexpr int StartHeight = 700;

SDL_Window* CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags);
void DestroyWindow(SDL_Window* window);
Uint32 GetWindowID(SDL_Window* window);
Uint32 GetWindowFlags(SDL_Window* window);
void ShowWindow(SDL_Window* window);
void HideWindow(SDL_Window* window);
void RaiseWindow(SDL_Window* window);
int SetWindowInputFocus(SDL_Window* window);
void SetWindowSize(SDL_Window* window, int w, int h);
void GetWindowSize(SDL_Window* window, int* w, int* h);
void SetWindowPosition(SDL_Window* window, int x, int y);
void GetWindowPosition(SDL_Window* window, int* x, int* y);
void SetWindowTitle(SDL_Window* window, const char* title);
SDL_Surface* GetWindowSurface(SDL_Window* window);
int UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count);
int GetWindowDisplayIndex(SDL_Window* window);
int GetWindowBordersSize(SDL_Window* window, int* top, int* left, int* bottom, int* right);
int SetWindowHitTest(SDL_Window* window, SDL_HitTest callback, void* data);
int SetWindowFullscreen(SDL_Window* window, Uint32 flags);
SDL_bool GetWindowWMInfo(SDL_Window* window, SDL_SysWMinfo* info);
int GetDisplayBounds(int display, SDL_Rect* rect);
SDL_Window* GetMouseFocus();
SDL_Window* GetKeyboardFocus();
Uint32 GetMouseState(int* x, int* y);
Uint32 GetGlobalMouseState(int* x, int* y);
// Takes events as SDL_PeepEvents(…, SDL_GETEVENT, …) does, each one turned to the window of ours
// it belongs to.
int PeepEvents(SDL_Event* events, int count, SDL_eventaction action, Uint32 minType,
               Uint32 maxType);
SDL_bool HasEvents(Uint32 minType, Uint32 maxType);
int ShowSimpleMessageBox(Uint32 flags, const char* title, const char* message,
                         SDL_Window* window);
int ShowMessageBox(const SDL_MessageBoxData* data, int* pressed);

// Draws what changed on the desktop onto the canvas; the event loop calls it before it sleeps.
void Flush();
// Sleeps, handing the browser its turn, until an event may be there or timeoutMs passed.
void Sleep(int timeoutMs);

}  // namespace quarn::platform::web

#ifndef QUARN_WEB_DESKTOP_IMPLEMENTATION
#define SDL_CreateWindow quarn::platform::web::CreateWindow
#define SDL_DestroyWindow quarn::platform::web::DestroyWindow
#define SDL_GetWindowID quarn::platform::web::GetWindowID
#define SDL_GetWindowFlags quarn::platform::web::GetWindowFlags
#define SDL_ShowWindow quarn::platform::web::ShowWindow
#define SDL_HideWindow quarn::platform::web::HideWindow
#define SDL_RaiseWindow quarn::platform::web::RaiseWindow
#define SDL_SetWindowInputFocus quarn::platform::web::SetWindowInputFocus
#define SDL_SetWindowSize quarn::platform::web::SetWindowSize
#define SDL_GetWindowSize quarn::platform::web::GetWindowSize
#define SDL_SetWindowPosition quarn::platform::web::SetWindowPosition
#define SDL_GetWindowPosition quarn::platform::web::GetWindowPosition
#define SDL_SetWindowTitle quarn::platform::web::SetWindowTitle
#define SDL_GetWindowSurface quarn::platform::web::GetWindowSurface
#define SDL_UpdateWindowSurfaceRects quarn::platform::web::UpdateWindowSurfaceRects
#define SDL_GetWindowDisplayIndex quarn::platform::web::GetWindowDisplayIndex
#define SDL_GetWindowBordersSize quarn::platform::web::GetWindowBordersSize
#define SDL_SetWindowHitTest quarn::platform::web::SetWindowHitTest
#define SDL_SetWindowFullscreen quarn::platform::web::SetWindowFullscreen
#define SDL_GetWindowWMInfo quarn::platform::web::GetWindowWMInfo
#define SDL_GetDisplayBounds quarn::platform::web::GetDisplayBounds
#define SDL_GetDisplayUsableBounds quarn::platform::web::GetDisplayBounds
#define SDL_GetMouseFocus quarn::platform::web::GetMouseFocus
#define SDL_GetKeyboardFocus quarn::platform::web::GetKeyboardFocus
#define SDL_GetMouseState quarn::platform::web::GetMouseState
#define SDL_GetGlobalMouseState quarn::platform::web::GetGlobalMouseState
#define SDL_PeepEvents quarn::platform::web::PeepEvents
#define SDL_HasEvents quarn::platform::web::HasEvents
#define SDL_ShowSimpleMessageBox quarn::platform::web::ShowSimpleMessageBox
#define SDL_ShowMessageBox quarn::platform::web::ShowMessageBox
#endif

#endif  // __EMSCRIPTEN__
