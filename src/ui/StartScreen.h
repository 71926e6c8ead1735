// StartScreen.h — frmStart: the zone list, the Play, Editor and Cancel buttons, and the links.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PictureButton.h"
#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "render/Surface.h"
#include "system/Records.h"
#include "system/Catalogue.h"

namespace quarn::ui {

inline constexpr int StartScreenWidth = 511;
inline constexpr int StartScreenHeight = 314;

// The texts the start screen asks and tells.
inline constexpr const char* SoundQuestion = "Podporuje tvá zvuková karta DirectSound?";
// The sound question: true when the player answers Yes.
bool AskSound(Prompter& prompter);
std::string EditorQuestion();
// The same in a browser, where Ano downloads the zone.
std::string DownloadQuestion();
std::string NoZoneText(const std::vector<system::CatalogueRoot>& zoneFolders);
// "Základy · vyhráno 12 z 20".
std::string SetWonText(const std::string& set, int won, size_t zones);

class StartScreen {
 public:
  // Pictures come from dataFolder's Graphics; the zones are the catalogue's, set by set (it is
  // refreshed here every second while the screen shows).
  StartScreen(platform::App& app, Prompter& prompter, const std::filesystem::path& dataFolder,
              system::Catalogue& catalogue);
  StartScreen(const StartScreen&) = delete;
  StartScreen& operator=(const StartScreen&) = delete;

  // Lists the zones again and selects the first.
  void FindZones();
  void Show();
  void Hide();
  // Play: the selected zone goes to OnPlay. Editor: after a Yes to the question, to OnEdit.
  // Both tell the player when there is no zone to choose.
  void ClickedPlay();
  void ClickedEdit();

  std::function<void(const std::filesystem::path& zone)> OnPlay;
  std::function<void(const std::filesystem::path& zone)> OnEdit;
  std::function<void(const std::string& link)> OnLink;
  // W: watch the selected zone's best saved run. F1: the help.
  std::function<void(const std::filesystem::path& zone)> OnWatch;
  std::function<void()> OnHelp;
  // R: the records of every listed zone.
  std::function<void()> OnRecords;
  // K or the Ovládání button: the player's keys.
  std::function<void()> OnControls;
  // The record of a zone file, or null when it has none (the record lines stay empty unset).
  std::function<const system::ZoneRecord*(const std::filesystem::path& zone)> RecordOf;
  // The ticks the author's run that ships with the zone wins in; unset or none: no author's time.
  std::function<std::optional<int64_t>(const std::filesystem::path& zone)> AuthorTimeOf;
  // Shows the selected zone's record, how many zones of its set are won, and each set's count
  // in its heading.
  void UpdateRecordLines();
  // Shows the selected zone's record and its set's won count.
  void UpdateRecordLine();
  // Selects the zone of this file, when it is listed.
  void Select(const std::filesystem::path& zone);
  // E: the selected zone, Ctrl+N: a new zone (an empty path), in the zone editor.
  std::function<void(const std::filesystem::path& zone)> OnOpenEditor;
  // Cancel, or the window manager closing the window.
  std::function<void()> OnCancel;
  // The browser's keys: N for a new zone (the browser keeps Ctrl+N for itself), O for a link to
  // the selected zone, which goes to share, and S (with Shift: its kept runs) to download, which
  // goes to download; the key line names N and O (the help names them all).
  void UseBrowserKeys(
      std::function<void(const std::filesystem::path& zone, const std::string& title,
                         bool withRun)>
          share,
      std::function<void(const std::filesystem::path& zone, const std::string& title, bool runs)>
          download);
  // A zone just put in one of the listed folders: listed at once and selected.
  void ListAndSelect(const std::filesystem::path& zone);

  platform::Window& Window() { return window_; }
  platform::Timer& Timer1() { return timer_; }
  platform::ListBox& List() { return list_; }
  // The zone files and their titles, set by set as the list shows them (without the headings).
  std::vector<system::ZoneEntry> Zones() const { return catalogue_.AllZones(); }
  // The selected zone, or null.
  const system::ZoneEntry* Selected() const;
  // A control by its name in the layout ("lstZones" is the list, "btn(1)" Play's frame).
  platform::Control& ControlNamed(const std::string& name);
  // Clicks a control as the mouse would (a picture button: pressed and released on it).
  void Click(const std::string& name);
  // Play 1, Cancel 2, Editor 3, Controls 4.
  PictureButtons& Buttons() { return buttons_; }

 private:
  void Build();
  // The list refresh: the same position stays selected, or the last one when the list got
  // shorter. A list that did not change is left as it is, scrolled where the player left it.
  // Hidden behind the game screen the list is not looked at; it is brought up to date before
  // it shows again, so play is never held up by the zone folders.
  void Refresh();
  // Lists the catalogue's sets: a heading for each set with zones when there are two or more,
  // then its zones.
  void Fill();
  // The row of the list that shows zone; -1 when it is not listed.
  int RowOf(const std::filesystem::path& zone) const;
  void UpdateWonLine();
  // The heading of a set: its title and how many of its zones are won.
  std::string HeadingOf(const system::ZoneSet& set, int won) const;

  platform::App& app_;
  Prompter& prompter_;
  // Set by UseBrowserKeys.
  std::function<void(const std::filesystem::path& zone, const std::string& title, bool withRun)>
      share_;
  std::function<void(const std::filesystem::path& zone, const std::string& title, bool runs)>
      download_;
  std::filesystem::path dataFolder_;
  system::Catalogue& catalogue_;
  platform::Window window_;
  platform::Timer timer_;
  platform::ListBox list_;
  PictureButtons buttons_;
  std::map<std::string, std::unique_ptr<platform::Control>> controls_;
  std::vector<quarn::SurfacePtr> pictures_;
  // What each row of the list shows: a set's heading (Zone == -1) or a zone of it.
  struct Row {
    size_t Set = 0;
    int Zone = -1;
  };
  std::vector<Row> rows_;
  std::vector<int> setsWon_;  // by set, as UpdateRecordLines counted them
  platform::Label* recordLine_ = nullptr;
  platform::Label* wonLine_ = nullptr;
};

// "Vyhráno · nejlepší čas 2,5 s · se zpětným chodem 0,8 s" (the plain best, and the best that
// went back when it is shorter), "Vyhráno" (a win that was not timed), "Zatím nevyhráno".
std::string RecordText(const system::ZoneRecord* record);

}  // namespace quarn::ui
