// WindowSystem.h — the window system the platform's windows live on, picked when the program is
// linked: SDL's own on a desktop (WindowSystemSdl.cpp), the browser's one canvas made a desktop
// of several windows in the browser build (WebDesktop.cpp). Each call is SDL's call of the same
// name, with SDL's meaning; the platform's windows and event loop make these calls only, never
// SDL's window calls themselves.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>

namespace quarn::platform::windows {

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
int GetDisplayUsableBounds(int display, SDL_Rect* rect);
SDL_Window* GetMouseFocus();
SDL_Window* GetKeyboardFocus();
Uint32 GetMouseState(int* x, int* y);
Uint32 GetGlobalMouseState(int* x, int* y);
// Takes events as SDL_PeepEvents(…, SDL_GETEVENT, …) does, each one turned to the window it
// belongs to.
int PeepEvents(SDL_Event* events, int count, SDL_eventaction action, Uint32 minType,
               Uint32 maxType);
SDL_bool HasEvents(Uint32 minType, Uint32 maxType);
int ShowSimpleMessageBox(Uint32 flags, const char* title, const char* message,
                         SDL_Window* window);
int ShowMessageBox(const SDL_MessageBoxData* data, int* pressed);

}  // namespace quarn::platform::windows
