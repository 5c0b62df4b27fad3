#pragma once
// What the windows share: the application icon, the fonts of the grid and
// the viewer, and the keys of the copy command.

#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QList>

class QApplication;

namespace sonvera::ui {

// Drawn in code: a level meter's bars over a sound wave.
QIcon applicationIcon();

struct SharedFonts {
  QFont gridText;          // weight 500
  QFont gridBold;          // weight 700
  QFont viewerHeader;      // weight 500
  QFont viewerGroupTitle;  // weight 700
};
const SharedFonts& sharedFonts();

// Ctrl+C and Ctrl+Insert.
QList<QKeySequence> copyKeys();

// Qt's own Russian texts for standard buttons and file dialogs.
void installRussianTranslations(QApplication& application);

}  // namespace sonvera::ui
