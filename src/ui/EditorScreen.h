// EditorScreen.h — the zone editor's window: canvas, palette, header form, findings, status line.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EditorCanvas.h"
#include "FileChooser.h"
#include "NotesBox.h"
#include "edit/ZoneModel.h"
#include "game/Ports.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/TextField.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "system/Recovery.h"

namespace quarn::ui {

inline constexpr int EditorWidth = 1024;
inline constexpr int EditorHeight = 700;
// The canvas: 600 x 530 pixels shows 15 x 13 cells at full size and a 150 x 130 zone whole at
// the smallest zoom step.
inline constexpr SDL_Rect EditorCanvasArea{184, 34, 600, 530};

// Zones of up to this many cells are checked at once after a change (a few milliseconds);
// larger ones a frame later.
inline constexpr int QuickCheckCells = 2500;

// The texts the editor asks and tells.
inline constexpr const char* UnsavedQuestion = "Zóna má neuložené změny.\nUložit je?";
inline constexpr const char* RefusedValueQuestion = "Hodnotu v hlavičce zóny editor nepřijal:";
inline constexpr const char* SolutionQuestion =
    "Vyhrál jsi. Uložit tuto cestu jako řešení zóny (soubor .keys vedle ní)?";
inline constexpr const char* SolutionAndSaveQuestion =
    "Vyhrál jsi. Uložit zónu i tuto cestu jako její řešení (soubor .keys vedle ní)?";
// Asked on opening a zone whose unsaved changes a recovery copy kept; when is the copy's time,
// zone the file opened (empty: a new zone).
std::string RestoreQuestion(const std::string& when, const std::filesystem::path& zone);
// Said instead of opening a zone another running editor has open.
std::string OpenElsewhereMessage(const std::filesystem::path& zone);
// Asked before saving over a zone file another program changed since the editor read it.
std::string ChangedOnDiskQuestion(const std::filesystem::path& file);
// Asked before saving a zone the game will not open; why is the loader's finding.
std::string RefusedZoneQuestion(const std::string& why);

// Said instead of playing (F5) a zone the game would refuse as it is now; the finding follows.
inline constexpr const char* EditedZoneRefused = "Upravená zóna nejde hrát: ";

// The tile picture of a palette entry: a cell's frame as the board draws it.
SDL_Rect PaletteSource(int16_t picture);
// text as it fits width pixels (measured by measure): whole when it fits, else its start and
// its end with "…" between them. The end, where a message says what to do, keeps more than half
// the room and begins at a word.
std::string EllipsizeMiddle(const std::string& text, int width,
                            const std::function<int(const std::string&)>& measure);

// Unsaved changes are kept in a recovery copy this long after the last change.
inline constexpr int RecoveryDelayMs = 3000;

// What the left mouse button does on the canvas (Shift+drag fills whatever the tool). Select,
// Hollow and Flood are the author's tools (EditorTools.cpp).
enum class EditorTool { Brush, Rectangle, Picker, Select, Hollow, Flood };

class EditorScreen {
 public:
  // Pictures come from dataFolder's Graphics. Zones in the protected folders (the shipped ones)
  // are never written over: a save goes to a copy in the player's zone folder, where a new zone
  // is saved too (see edit::ZoneFolders). Unsaved changes are kept in recoveryFolder (empty:
  // nowhere).
  EditorScreen(platform::App& app, Prompter& prompter, const std::filesystem::path& dataFolder,
               edit::ZoneFolders folders, std::filesystem::path recoveryFolder = {});
  EditorScreen(const EditorScreen&) = delete;
  EditorScreen& operator=(const EditorScreen&) = delete;

  // Opens a zone file, or a new zone to be saved there when the file does not exist; an empty
  // path is a new zone without a file yet. False, after telling the player why, when the file
  // cannot be read as a zone (or the game's pictures cannot). A recovery copy of the zone's
  // unsaved changes is offered back (RestoreQuestion): Ano takes it as an unsaved change, Ne
  // throws it away.
  bool Open(const std::filesystem::path& zone);
  void Show();
  void Hide();
  // Esc, the Zavřít button, the window's close box: unsaved changes are offered to be saved
  // first (Ano saves, Ne throws them away, Zrušit stays), then the window goes and OnClosed runs.
  // True when it closed.
  bool Close();
  // Ctrl+S. True when the zone was written (to its file or to a copy), or had nothing to write;
  // the status line says where. A file changed by another program meanwhile is asked about
  // first (ChangedOnDiskQuestion: Ano writes over it, Ne reads it again, Zrušit does neither), and
  // so is a zone the game will not open (RefusedZoneQuestion).
  bool Save();
  // Ctrl+Shift+S: the file chooser (ChooseFile) opens in the player's zone folder; the zone is
  // written where the author says (a file there only after asking) and that file is edited from
  // then on. Also what Ctrl+S does for a new zone when the player has no zone folder; heading then
  // says why the chooser asks. True when the zone was written.
  bool SaveAs(const std::string& heading = "");
  // "Do mých zón": a zone saved elsewhere is copied into the player's zone folder under a free
  // name and edited there from then on, so that the start screen lists it; the status line says
  // where. True when the zone is there.
  bool PutIntoOwnZones();
  // Where SaveAs asks for a file: the game's own chooser unless replaced (tests).
  std::function<std::optional<ChosenFile>(const ChooserRequest&)> ChooseFile;

  // Writes the recovery copy now when there are unsaved changes (the program is being ended by a
  // signal); the copy's path, or nothing when none was written.
  std::optional<std::filesystem::path> KeepUnsaved();
  // F5: OnTestPlay gets the zone's text as it is now, unsaved changes included.
  void TestPlay();
  // A test-play run that won, as a key script: offered to be kept beside the zone as NAME.keys,
  // its solution. The zone is saved first when it has unsaved changes (the run won the zone as
  // it is now). True when the script was written.
  bool OfferSolution(const std::string& script);

  // In a browser: the "Odkaz na zónu" button and Ctrl+O (named in the help beside the form)
  // give share the zone's text as it is now, unsaved changes included, and its title.
  void OfferLink(std::function<void(const std::string& zoneText, const std::string& title)> share);
  // The button and Ctrl+O, when OfferLink was called.
  void ShareLink();

  std::function<void()> OnClosed;
  std::function<void(const std::string& zoneText)> OnTestPlay;
  std::function<void()> OnHelp;  // F1
  // Shift+F5: the zone's text with the start moved to the cell under the pointer, for a test-play
  // that is not the zone's solution (it did not begin at the start).
  std::function<void(const std::string& zoneText)> OnTestPlayHere;

  // The author's tools (EditorTools.cpp).
  // The clipboard lasts as long as whoever hands it in: the game, across the zones it edits.
  void ShareClipboard(edit::Piece& clipboard) { clipboard_ = &clipboard; }
  const edit::Piece& Clipboard() const { return *clipboard_; }
  // The selection lives in the model, so that undo and redo put it back with the cells.
  const std::optional<edit::Area>& Selection() const { return model_.Selection(); }
  void SetSelection(std::optional<edit::Area> area);
  // Ctrl+C and Ctrl+X: the selection into the clipboard (a cut leaves floor).
  void CopySelection(bool cut);
  // Ctrl+V: the clipboard floats under the pointer until a click puts it down (Esc drops it).
  void StartPaste();
  bool Floating() const { return floating_.has_value(); }
  // Mirrors or turns the floating piece, else the selection, else the whole zone.
  void MirrorOrTurn(std::optional<edit::Mirror> axis);
  // Shift+F5 with the pointer on a cell.
  void TestPlayHere();
  // Grows (cells > 0) or cuts the zone at an edge (0 left, 1 top, 2 right, 3 bottom).
  void GrowEdge(int edge, int cells);

  edit::ZoneModel& Model() { return model_; }
  EditorCanvas& Canvas() { return canvas_; }
  platform::Window& Window() { return window_; }
  // The status line's whole text; the line itself shows it shortened to the window's width.
  const std::string& Status() const { return statusText_; }
  char Selected() const { return selected_; }
  void Select(char c);
  EditorTool Tool() const { return tool_; }
  void SetTool(EditorTool tool);
  // A control by its name ("canvas", "findings", "field(3)", "status", "btnSave", ...).
  platform::Control& ControlNamed(const std::string& name);
  // A key as the window hands it over (virtual-key code); modifiers as held.
  void KeyDown(int virtualKey, platform::Modifiers held);
  void KeyRepeat(int virtualKey);
  // A key went up: Ctrl coming up ends the Ctrl chord of the text typed.
  void KeyReleased(int virtualKey);
  // Typed text, for the field that has the keyboard, else a tile's character for the brush.
  // Text typed with Ctrl held is no typing: plus (or "=") and minus zoom, whatever key of the
  // layout brings them, and anything else is dropped.
  void TypeText(const std::string& text);
  // The character the keyboard layout puts on a key (SDL_GetKeyFromScancode; tests give another
  // layout's): Ctrl with the keys the game calls plus and minus zooms by what they mean.
  std::function<SDL_Keycode(SDL_Scancode)> KeyOnLayout = [](SDL_Scancode code) {
    return SDL_GetKeyFromScancode(code);
  };
  // M and the Mapa button: the overview in the canvas's corner is shown while the zone does not
  // fit, or never. While it is shown the view scrolls far enough to bring every cell out from
  // under it.
  void ToggleOverview();
  bool OverviewWanted() const { return overviewWanted_; }
  NotesBox& Notes() { return *notes_; }
  // The overlays shown on the canvas: the cells reachable from the start, keys and the doors the
  // key under the pointer opens, laser doors by group at the laser panel's phase.
  enum class Overlay { Reach, Keys, Lasers };
  void ToggleOverlay(Overlay which);
  bool OverlayShown(Overlay which) const { return overlays_[static_cast<size_t>(which)]; }
  // The laser panel's phase: how many laser periods have passed since the zone started.
  int LaserPhase() const { return laserPhase_; }
  void SetLaserPhase(int phase);
  // Whether a laser group's doors are shut (the laser on) at a phase, as the game switches them.
  bool LaserShut(int group, int phase) const;
  // The messages shown beside the header fields (empty: none).
  const std::array<std::string, edit::HeaderFieldCount>& FieldErrors() const { return errors_; }

 private:
  void Build();
  void BuildPalette();
  void BuildForm();
  void Bind();
  // Brings the canvas, findings, form, status and caption in line with the model.
  void Sync();
  void SyncCells();
  void ShowFindings();
  void SyncForm();
  void LayOutForm();
  void UpdateStatus();
  void ShowCanvasDamage();
  void ScrollBy(int dx, int dy);
  void Zoom(bool in, SDL_Point anchor);
  void CanvasDown(int button, SDL_Point p);
  void CanvasMove(SDL_Point p);
  void CanvasUp(int button, SDL_Point p);
  void PaintLine(SDL_Point from, SDL_Point to);
  void ScrollPastEdge(SDL_Point p);
  void PointerMoved();
  void ShowHover(std::optional<SDL_Point> cell);
  void ShowRectangle(std::optional<std::pair<SDL_Point, SDL_Point>> corners);
  void FocusField(int i);
  void BlurFields();
  void CommitField(int i);
  void RevealFinding(int index);
  void KeepRecovery();
  // Drops zone's recovery copy when it is this editor's own.
  void DropRecovery(const std::filesystem::path& zone);
  // Saved to savedTo: nothing is unsaved, so this editor's copy goes; saved under another name,
  // the editor takes that file's copy from now on (EditorSaving.cpp).
  void Resettle(const std::filesystem::path& savedTo);
  // True, with the dialog saying so, when another running editor has zone open.
  bool OpenElsewhere(const std::filesystem::path& zone);
  // When result saved nothing: says why on the status line (after status) and in a dialog
  // (after failure), and answers true.
  bool NothingSaved(const edit::SaveResult& result, const std::string& status,
                    const std::string& failure);
  void BuildTools();
  // The strip under the canvas: save as, into my zones, the overlays (EditorSaving.cpp).
  void BuildStrip();
  // The overlays (EditorOverlays.cpp): toggles in the strip under the canvas, the laser panel.
  void BuildOverlays();
  void ShowOverlays();
  void OverlayPointer(std::optional<SDL_Point> cell);
  void ShowLaserPanel();
  // A press just outside the zone's edge drags that edge: out grows the zone, in cuts it
  // (EditorEdges.cpp). The edge under p (0 left, 1 top, 2 right, 3 bottom), or none.
  std::optional<int> EdgeAt(SDL_Point p) const;
  void EdgeDrag(SDL_Point p);
  void EdgeUp();
  // The cells the dragged edge has moved (out positive), and the edge.
  int edgeCells_ = 0;
  int edgeDragged_ = 0;
  // The notes box under the header form (EditorNotes.cpp).
  void BuildNotes();
  void SyncNotes();
  void CommitNotes();
  void BindTools();
  bool ToolKey(int virtualKey, platform::Modifiers held);
  // A left press on cell, at canvas point p.
  bool ToolDown(SDL_Point cell, SDL_Point p);
  // Whether canvas point p lies inside the area and off its frame (a band a few pixels wide
  // along its edges).
  bool StrictlyInside(const edit::Area& area, SDL_Point p) const;
  void ToolDrag(SDL_Point cell);
  void ShowFloating();
  void PlaceToolFrames();
  // After a change: the counts, the overview and the floating piece follow the zone.
  void SyncTools();
  void ShowOverview();
  void OverviewDown(SDL_Point p);
  // The view's spare pixels past the zone's edges follow the overview's size and whether it is
  // wanted.
  void FitOverviewSpare();
  void PlaceFloating(bool keep);
  template <class T>
  T& Add(const std::string& name, std::unique_ptr<T> c, SDL_Rect bounds,
         platform::PictureBox* parent = nullptr);

  platform::App& app_;
  Prompter& prompter_;
  std::unique_ptr<FileChooser> chooser_;  // made on its first use
  std::filesystem::path recovery_;
  system::RecoveryClaim claim_;  // this editor's own recovery copy
  edit::ZoneModel model_;
  EditorCanvas canvas_;
  platform::Window window_;
  platform::Timer check_;
  platform::Timer keep_;       // the recovery copy, RecoveryDelayMs after the last change
  uint64_t seenRevision_ = 0;  // the model's revision when the countdown was last started
  std::map<std::string, std::unique_ptr<platform::Control>> controls_;
  platform::PictureBox* canvasBox_ = nullptr;
  platform::Shape* hover_ = nullptr;
  platform::Shape* rectangle_ = nullptr;
  platform::Shape* paletteMark_ = nullptr;
  platform::ListBox* findings_ = nullptr;
  platform::Label* status_ = nullptr;
  std::array<platform::TextField*, edit::HeaderFieldCount> fields_{};
  std::array<platform::Label*, edit::HeaderFieldCount> fieldNames_{};
  std::array<platform::Label*, edit::HeaderFieldCount> fieldErrors_{};
  std::array<std::string, edit::HeaderFieldCount> errors_;
  NotesBox* notes_ = nullptr;
  std::array<bool, 3> overlays_{};
  std::optional<SDL_Point> overlayKey_;  // the key whose doors are shown
  int laserPhase_ = 0;
  std::unique_ptr<platform::Timer> laserClock_;
  platform::PictureBox* laserPanel_ = nullptr;
  std::array<std::vector<platform::Shape*>, 3> laserCells_;
  platform::Image* statusTile_ = nullptr;  // the brush's tile, at the start of the status line
  std::vector<SDL_Rect> paletteRows_;
  std::vector<std::optional<edit::Cell>> findingCells_;

  // Set by OfferLink: where the zone's link is made.
  std::function<void(const std::string& zoneText, const std::string& title)> share_;
  char selected_ = 'W';
  EditorTool tool_ = EditorTool::Brush;
  // The press being dragged on the canvas: what it does, where it began, the last cell it met.
  enum class Drag { None, Paint, Fill, Scroll, RightPending, Select, MovePiece, Edge };
  Drag drag_ = Drag::None;
  SDL_Point dragStart_{0, 0};
  SDL_Point dragLast_{0, 0};
  SDL_Point lastCell_{0, 0};
  SDL_Point fillStart_{0, 0};
  std::optional<SDL_Point> pointerCell_;
  std::string message_;  // the last thing the editor told (saved where, ...)
  std::string unprotected_;  // why the last recovery copy could not be kept; empty when it was
  // Ctrl with plus or minus was the last key: the text it brings ("+", "-") is typed nowhere.
  bool dropTyped_ = false;
  // The last key went down with Ctrl (and without Alt: Ctrl+Alt is AltGr on some systems) and
  // Ctrl has not come up since: the text that comes now was typed with Ctrl.
  bool ctrlChord_ = false;
  bool TypedWithCtrl() const;
  // Zooms for a Ctrl chord whose key means plus ("+", "=") or minus; false for any other.
  bool ZoomByMeaning(SDL_Keycode meaning);
  // F5 and Shift+F5 on a zone the game would refuse: EditedZoneRefused, and true.
  bool RefusedForPlay();
  std::string statusText_;

  // The author's tools: the selection, the piece floating under the pointer (its cell under the
  // pointer, and the area it is lifted from when it is being moved), the cells shown as it.
  struct FloatingPiece {
    edit::Piece Piece;
    SDL_Point Grip{0, 0};
    std::optional<edit::Area> From;
    // Where it was last shown (its top-left cell) and the view it was shown in.
    SDL_Point ShownAt{-1, -1};
    int ShownZoom = 0;
    SDL_Point ShownScroll{0, 0};
  };
  edit::Piece ownClipboard_;
  edit::Piece* clipboard_ = &ownClipboard_;
  std::optional<FloatingPiece> floating_;
  std::vector<SDL_Point> previewed_;
  platform::Shape* selectionFrame_ = nullptr;
  platform::Shape* floatingFrame_ = nullptr;
  platform::Label* selectionSize_ = nullptr;
  std::vector<platform::Label*> countLines_;
  // The whole zone in small in the canvas's corner while only part of it is shown.
  platform::PictureBox* overview_ = nullptr;
  platform::Shape* overviewFrame_ = nullptr;
  platform::SurfacePtr overviewPixels_;
  bool overviewWanted_ = true;
};

// Defined here, as the window's controls are built in more than one file (EditorTools.cpp).
template <class T>
T& EditorScreen::Add(const std::string& name, std::unique_ptr<T> c, SDL_Rect bounds,
                     platform::PictureBox* parent) {
  c->Bounds = bounds;
  (parent ? parent : &window_.Root())->Children.push_back(c.get());
  T& placed = *c;
  controls_[name] = std::move(c);
  return placed;
}

}  // namespace quarn::ui
