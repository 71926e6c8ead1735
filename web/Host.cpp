// Host.cpp — the page around the game (web/index.html): the ticks counted for the page's tests,
// a link's zone named as the player knows it, the start screen's and the editor's links and
// downloads, a link's run raced, and what the page asks for taken between the ticks: a shared
// zone kept, a zone file from disk, and the game given up to another tab (ended as a signal
// ends it, its unsaved work kept). The page may not call into the game while it waits
// (ASYNCIFY): it asks, and the game looks five times a second.
#include <emscripten.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/App.h"
#include "platform/Signals.h"
#include "platform/Timers.h"
#include "system/Launch.h"
#include "ui/CommandLine.h"
#include "ui/EditorScreen.h"
#include "ui/Flow.h"
#include "ui/GameScreen.h"
#include "ui/Host.h"
#include "ui/PageFiles.h"
#include "ui/StartScreen.h"

namespace quarn::web {
// web/SharedZone.cpp: "Uložit do mých zón" on the page, taken between ticks.
void KeepSharedZoneWhenAsked();
}  // namespace quarn::web

namespace quarn::ui {

bool InBrowser() { return true; }

struct Host::Page {
  platform::App* App = nullptr;
  Flow* TheFlow = nullptr;
  bool Listed = false;
  std::optional<platform::Timer> Asked;
};

// The page says so instead of leaving a dead canvas (× on the start screen, an error).
GameEndTold::~GameEndTold() { EM_ASM({ if (Module.quarnGameEnded) Module.quarnGameEnded(); }); }

Host::Host() : page_(std::make_unique<Page>()) {}

Host::~Host() = default;

void Host::Attach(platform::App& app, Flow& flow, const Options& options) {
  page_->App = &app;
  page_->TheFlow = &flow;
  page_->Listed = !options.Zone && !options.Edit;
  // The page counts the game's ticks (Module.quarnTicks): its timing against the clock can be
  // checked from outside. A zone from a link is named so in the loader's messages, not by the
  // page's temporary file.
  if (!options.TracePlayer) {
    flow.OnNewGameScreen = [zone = options.Zone](GameScreen& screen) {
      screen.OnTicked = [] { EM_ASM({ Module.quarnTicks = (Module.quarnTicks || 0) + 1; }); };
      if (zone && screen.ShownPath.empty()) screen.ShownPath = web::ShownFileName(*zone);
    };
  }
  flow.OnStartScreenMade = [&flow](StartScreen& start) {
    start.UseBrowserKeys(
        [&flow](const std::filesystem::path& zone, const std::string& title, bool withRun) {
          if (withRun) {
            flow.ShareWithRun(zone, title);
          } else {
            system::ShareZoneLink(zone, title);
          }
        },
        [&flow](const std::filesystem::path& zone, const std::string& title, bool runs) {
          if (runs) {
            flow.DownloadRuns(zone, title);
            return;
          }
          const std::string name = zone.filename().string();
          web::OfferDownload(zone, name, "Stahuje se zóna „" + title + "“ (" + name + ").");
        });
  };
  flow.OnEditorMade = [](EditorScreen& editor) {
    editor.OfferLink([](const std::string& zoneText, const std::string& title) {
      system::ShareZoneText(zoneText, title);
    });
  };
  flow.PlayRacing = [&flow](const std::string& zone, const std::string& run) {
    return flow.PlayWithLinkRun(zone, run);
  };
}

void Host::Listen() {
  Page& p = *page_;
  if (!p.App || !p.TheFlow) return;
  p.Asked.emplace(p.App->Timers(), [&p] {
    if (platform::SignalReceived()) p.App->Quit();
    web::KeepSharedZoneWhenAsked();
    if (const auto picked = web::KeepPickedZoneWhenAsked(); picked && p.Listed)
      p.TheFlow->Start().ListAndSelect(*picked);
  });
  p.Asked->SetInterval(200);
  p.Asked->SetEnabled(true);
}

void Host::ZoneEnded() { EM_ASM({ if (Module.quarnZoneEnded) Module.quarnZoneEnded(); }); }

}  // namespace quarn::ui
