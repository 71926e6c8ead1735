// Host.cpp — on a desktop nothing surrounds the game: the window system is all there is.
#include "Host.h"

#include <filesystem>
#include <string>

#include "PageFiles.h"

namespace quarn::ui {

bool InBrowser() { return false; }

GameEndTold::~GameEndTold() = default;

struct Host::Page {};

Host::Host() = default;
Host::~Host() = default;
void Host::Attach(platform::App&, Flow&, const Options&) {}
void Host::Listen() {}
void Host::ZoneEnded() {}

}  // namespace quarn::ui

namespace quarn::web {

// On a desktop a message names a file by its path.
std::string ShownFileName(const std::filesystem::path& file) { return file.string(); }

}  // namespace quarn::web
