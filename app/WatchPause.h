// Why the watch is paused.  The tray's Disable/Enable and the editing of the
// wrap column field are separate reasons: leaving the field must not undo a
// pause the user asked for from the tray, and Enable must not resume a watch
// while the field is still being edited.
#pragma once

class WatchPause {
public:
  // Flips the tray's reason; returns true when the tray now disables the
  // watch (its icon shows the disabled image).
  bool ToggleTray() { return trayDisabled_ = !trayDisabled_; }
  bool IsTrayDisabled() const { return trayDisabled_; }

  void BeginWrapEdit() { editingWrapColumn_ = true; }
  void EndWrapEdit() { editingWrapColumn_ = false; }
  bool IsEditingWrapColumn() const { return editingWrapColumn_; }

  // The watcher's disabled flag.
  bool IsPaused() const { return trayDisabled_ || editingWrapColumn_; }

private:
  bool trayDisabled_ = false;
  bool editingWrapColumn_ = false;
};
