#pragma once
// Builds a dialog's controls from its template: dialog units turned into
// pixels from the dialog font, each control named by its numeric id.

#include <QFont>
#include <QHash>
#include <QRect>
#include <QWidget>

#include "app/dialog_templates.h"

class QButtonGroup;

namespace sonvera::ui {

// The font of every dialog: a sans-serif face with Cyrillic glyphs at the
// pixel height of an 8-point dialog font.
QFont dialogFont();

// Dialog units of a font, as dialog templates measure them: a horizontal unit
// is a quarter of the average character width, a vertical one an eighth of
// the character height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int x(int units) const { return (units * baseWidth_) / 4; }
  int y(int units) const { return (units * baseHeight_) / 8; }
  QRect rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
  }

 private:
  int baseWidth_ = 6;
  int baseHeight_ = 13;
};

// The controls of one built dialog, by id.
class DialogControls {
 public:
  template <typename Widget>
  Widget* get(int id) const {
    return qobject_cast<Widget*>(controls_.value(id));
  }
  // The button group a radio belongs to.
  QButtonGroup* radioGroup(int radioId) const { return groups_.value(radioId); }

 private:
  friend DialogControls buildDialog(QWidget*, const DialogTemplate&);
  QHash<int, QWidget*> controls_;
  QHash<int, QButtonGroup*> groups_;
};

// Creates the template's controls in `dialog`, sets its font and fixed
// client size (and its caption when the template has one).
DialogControls buildDialog(QWidget* dialog, const DialogTemplate& dialogTemplate);

// Checks the radio at `index` of a group, or none when the index is outside it.
void checkRadio(QButtonGroup* group, int index);

}  // namespace sonvera::ui
