#pragma once
// The dialogs' control layouts: every control with its numeric id, caption,
// kind and rectangle in dialog units. The windows are built from these, so a
// caption or a position is written down once.

#include <span>

namespace sonvera {

enum class ControlKind {
  PushButton,
  DefaultButton,      // the button Enter presses
  CheckBox,           // toggled by the user
  IndicatorCheckBox,  // shows a state; the user cannot toggle it
  RadioButton,
  FirstRadioButton,   // starts a new group of radios
  Edit,
  Field,              // bordered, centred text
  NotifyingField,     // the same, reporting clicks and double-clicks
  Label,              // plain left-aligned text
  GroupFrame,
  ListBox,
  DropDownList,
  ProgressBar,
};

// Ids below 0 stand for labels and frames that nothing refers to.
inline constexpr int kNoId = -1;

struct ControlTemplate {
  int id;
  const char* caption;  // UTF-8; empty for none
  ControlKind kind;
  int left, top, width, height;  // dialog units
};

struct DialogTemplate {
  int id;
  const char* caption;
  int width, height;  // dialog units, the client area
  std::span<const ControlTemplate> controls;

  // The control with this id, or nullptr.
  const ControlTemplate* control(int controlId) const;
};

const DialogTemplate& mainDialogTemplate();          // 102
const DialogTemplate& previewPaneTemplate();         // 130
const DialogTemplate& parameterSelectionTemplate();  // 135
const DialogTemplate& statisticsTemplate();          // 137
const DialogTemplate& progressTemplate();            // 139
const DialogTemplate& viewerTemplate();              // 133

// Button ids shared by the dialogs.
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;

}  // namespace sonvera
