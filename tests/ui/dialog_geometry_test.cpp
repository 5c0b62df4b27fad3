// Where the built dialogs put their controls and windows, against the templates
// in dialog units.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>

#include "dialog_builder.h"
#include "progress_dialog.h"
#include "ui_harness.h"

namespace sonvera::ui::test {
namespace {

bool isToggle(ControlKind kind) {
  return kind == ControlKind::CheckBox || kind == ControlKind::IndicatorCheckBox || kind == ControlKind::RadioButton ||
         kind == ControlKind::FirstRadioButton;
}

// The width of the part of a button that takes a click, from its left edge.
int clickableWidth(QAbstractButton* button) {
  QSignalSpy clicked(button, &QAbstractButton::clicked);
  for (int x = button->width() - 1; x >= 0; --x) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(x, button->height() / 2));
    if (clicked.count() > 0) return x + 1;
  }
  return 0;
}

TEST(DialogGeometry, EveryCheckBoxAndRadioTakesItsTemplateRectangle) {
  const DialogUnits units(dialogFont());
  const double pixelsPerUnit = units.x(4) / 4.0;
  for (const DialogTemplate* t :
       {&mainDialogTemplate(), &statisticsTemplate(), &viewerTemplate(), &previewPaneTemplate()}) {
    QDialog dialog;
    const DialogControls built = buildDialog(&dialog, *t);
    dialog.show();
    for (const ControlTemplate& c : t->controls) {
      if (!isToggle(c.kind)) continue;
      auto* button = built.get<QAbstractButton>(c.id);
      ASSERT_NE(button, nullptr) << t->id << "/" << c.id;
      EXPECT_EQ(button->geometry(), units.rect(c.left, c.top, c.width, c.height)) << t->id << "/" << c.id;
      if (c.kind == ControlKind::IndicatorCheckBox) continue;  // takes no clicks at all
      const int width = clickableWidth(button);
      EXPECT_EQ(width, units.x(c.width)) << t->id << "/" << c.id << ": " << width / pixelsPerUnit << " du of "
                                         << c.width;
    }
  }
}

// Each export centres the progress window's frame over the main dialog's frame,
// wherever the main dialog has gone since.
TEST(DialogGeometry, ProgressWindowCentresItsFrameOverTheMainDialogs) {
  Window w;
  ProgressDialog* progress = w.dialog->progressDialog();
  for (const QPoint at : {QPoint(37, 53), QPoint(301, 12)}) {
    w.dialog->move(at);
    progress->showProgress(0);
    ASSERT_TRUE(waitFor([&] { return progress->isVisible(); }));
    const QRect main = w.dialog->frameGeometry();
    const QRect own = progress->frameGeometry();
    EXPECT_NE(own.size(), progress->size());  // the frame counts
    EXPECT_NEAR(own.center().x(), main.center().x(), 1) << at.x();
    EXPECT_NEAR(own.center().y(), main.center().y(), 1) << at.x();
    // Halves rounded toward zero, right and bottom as the edges beyond the frame.
    EXPECT_EQ(own.left(), (main.left() + main.left() + main.width()) / 2 - own.width() / 2) << at.x();
    EXPECT_EQ(own.top(), (main.top() + main.top() + main.height()) / 2 - own.height() / 2) << at.x();
    progress->showProgress(-1);
  }
}

}  // namespace
}  // namespace sonvera::ui::test
