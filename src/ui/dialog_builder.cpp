#include "dialog_builder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace sonvera::ui {

QFont dialogFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);  // 8 points at 96 dots per inch
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the 52 Latin letters, rounded as dialog templates do.
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseWidth_ = std::max(1, (letters / 26 + 1) / 2);
  baseHeight_ = std::max(1, metrics.height());
}

namespace {

// The dialog font (a style sheet decides the font of the windows it reaches),
// group frames with their caption on the frame line, and the narrow gap
// between a check box and its text that the template widths were laid out for.
constexpr const char* kDialogStyle =
    "* { font-family: \"Liberation Sans\", sans-serif; font-size: 11px; }"
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"
    "QCheckBox, QRadioButton { spacing: 3px; }";

// A check box or radio takes a click anywhere in its template rectangle. Qt's
// own hit area ends with the caption's text, so the rest of the rectangle (4 du
// of "диапазон данных задается в записях") would be dead.
template <typename Button>
class TemplateButton : public Button {
 public:
  using Button::Button;

 protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

QWidget* createControl(QWidget* dialog, const ControlTemplate& c) {
  const QString caption = QString::fromUtf8(c.caption);
  switch (c.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultButton: {
      auto* button = new QPushButton(caption, dialog);
      button->setDefault(c.kind == ControlKind::DefaultButton);
      return button;
    }
    case ControlKind::CheckBox: return new TemplateButton<QCheckBox>(caption, dialog);
    case ControlKind::IndicatorCheckBox: {
      auto* box = new TemplateButton<QCheckBox>(caption, dialog);
      box->setAttribute(Qt::WA_TransparentForMouseEvents);
      box->setFocusPolicy(Qt::NoFocus);
      return box;
    }
    case ControlKind::RadioButton:
    case ControlKind::FirstRadioButton: return new TemplateButton<QRadioButton>(caption, dialog);
    case ControlKind::Edit: return new QLineEdit(caption, dialog);
    case ControlKind::Field:
    case ControlKind::NotifyingField: {
      auto* field = new QLabel(caption, dialog);
      field->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      field->setAlignment(Qt::AlignCenter);
      return field;
    }
    case ControlKind::Label: {
      auto* label = new QLabel(caption, dialog);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      return label;
    }
    case ControlKind::GroupFrame: return new QGroupBox(caption, dialog);
    case ControlKind::ListBox: {
      auto* list = new QListWidget(dialog);
      list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
      return list;
    }
    case ControlKind::DropDownList: return new QComboBox(dialog);
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(dialog);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      return bar;
    }
  }
  return nullptr;
}

}  // namespace

DialogControls buildDialog(QWidget* dialog, const DialogTemplate& t) {
  const QFont font = dialogFont();
  dialog->setFont(font);
  dialog->setStyleSheet(kDialogStyle);
  if (*t.caption != '\0') dialog->setWindowTitle(QString::fromUtf8(t.caption));
  const DialogUnits units(font);
  DialogControls built;
  QButtonGroup* group = nullptr;
  QList<QWidget*> frames;
  // Enter presses the template's default button, or the push button that has the
  // focus, as on every desktop. A template without a default button gives Enter
  // no meaning, so none of its buttons is auto-default: Qt would make the first
  // of them the default when the dialog is shown.
  const bool enterPresses = std::ranges::any_of(
      t.controls, [](const ControlTemplate& c) { return c.kind == ControlKind::DefaultButton; });
  for (const ControlTemplate& c : t.controls) {
    QWidget* widget = createControl(dialog, c);
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setAutoDefault(enterPresses);
    QRect rect = units.rect(c.left, c.top, c.width, c.height);
    if (c.kind == ControlKind::DropDownList) {
      // The template's height is that of the opened list; closed, a combo box is one line high.
      auto* combo = static_cast<QComboBox*>(widget);
      combo->setMaxVisibleItems(std::max(1, (rect.height() - units.y(14)) / std::max(1, combo->sizeHint().height())));
      rect.setHeight(std::max(units.y(12), combo->sizeHint().height()));
    }
    widget->setGeometry(rect);
    if (c.id != kNoId) {
      widget->setObjectName(QString::number(c.id));
      built.controls_.insert(c.id, widget);
    }
    if (c.kind == ControlKind::GroupFrame) frames.append(widget);
    if (c.kind == ControlKind::FirstRadioButton || (c.kind == ControlKind::RadioButton && group == nullptr))
      group = new QButtonGroup(dialog);
    if (c.kind == ControlKind::FirstRadioButton || c.kind == ControlKind::RadioButton) {
      group->addButton(static_cast<QAbstractButton*>(widget), group->buttons().size());
      built.groups_.insert(c.id, group);
    }
  }
  if (auto* modal = qobject_cast<QDialog*>(dialog)) {
    if (auto* ok = built.get<QPushButton>(kOkId)) QObject::connect(ok, &QPushButton::clicked, modal, &QDialog::accept);
    if (auto* cancel = built.get<QPushButton>(kCancelId))
      QObject::connect(cancel, &QPushButton::clicked, modal, &QDialog::reject);
  }
  // Frames lie behind the controls they frame.
  for (QWidget* frame : frames) frame->lower();
  dialog->setFixedSize(units.x(t.width), units.y(t.height));
  return built;
}

void checkRadio(QButtonGroup* group, int index) {
  QAbstractButton* target = group->button(index);
  if (target != nullptr) {
    target->setChecked(true);
    return;
  }
  // An exclusive group keeps one radio checked; lift that for a moment.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

}  // namespace sonvera::ui
